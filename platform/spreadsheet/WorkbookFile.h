// The sheet names of a workbook file, read from the file itself: the binary workbook format
// (".xls") through FreeXL, the open document format (".ods") from the table names of its
// content.xml. Other files are refused with a reason.
#pragma once

#include <string>
#include <vector>

namespace orbel::spreadsheet {

// False with `error` set ("no such file", "not a workbook") when the names cannot be read.
bool ReadSheetNames(const std::string& path, std::vector<std::string>& names, std::string& error);

// The table names in an open document's content.xml, in document order; exposed for the tests.
std::vector<std::string> TableNamesOfContent(const std::string& contentXml);

}  // namespace orbel::spreadsheet
