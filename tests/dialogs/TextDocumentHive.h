// The classes root of a machine that knows one creatable type, the text document made empty:
// the hive the dialog tests start from.
#pragma once

namespace orbel::test {

inline constexpr const char* kTextDocumentHive = R"(Windows Registry Editor Version 5.00

[HKEY_CLASSES_ROOT\.txt]
@="txtfile"

[HKEY_CLASSES_ROOT\.txt\ShellNew]
"NullFile"=""

[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"
)";

}  // namespace orbel::test
