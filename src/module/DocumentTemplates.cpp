#include "src/module/DocumentTemplates.h"

#include <array>

#include "platform/registry/RegistryHive.h"

namespace orbel {

namespace {
struct ShippedTemplate {
    const char* extension;
    const char* type;
    const char* valueName;
};
constexpr std::array<ShippedTemplate, 3> kTemplates = {{
    {".txt", "text/plain", "NullFile"},
    {".xml", "application/xml", "Data"},
    {".tif", "image/tiff", "FileName"},
}};

std::string TemplateValue(const ShippedTemplate& t, const std::string& templatesDir) {
    const std::string name = t.valueName;
    if (name == "Data") return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><document/>";
    if (name == "FileName") return templatesDir + "/" + kBlankPageTemplate;
    return {};
}

std::string ExtensionKey(const ShippedTemplate& t) {
    return std::string("HKEY_CLASSES_ROOT\\") + t.extension;
}
}  // namespace

bool RegisterDocumentTemplates(platform::RegistryHive& hive, const std::string& templatesDir) {
    for (const ShippedTemplate& t : kTemplates) {
        const std::string key = ExtensionKey(t);
        // A key of the hive hides the type the desktop's database gives the extension.
        if (!hive.QueryValue(key, "") &&
            !hive.SetValue(key, "", platform::RegValue::String(t.type)))
            return false;
        if (!hive.SetValue(key + "\\ShellNew", t.valueName,
                           platform::RegValue::String(TemplateValue(t, templatesDir))))
            return false;
    }
    return true;
}

bool UnregisterDocumentTemplates(platform::RegistryHive& hive, const std::string& templatesDir) {
    for (const ShippedTemplate& t : kTemplates) {
        const std::string key = ExtensionKey(t) + "\\ShellNew";
        if (hive.QueryValue(key, t.valueName) ==
            platform::RegValue::String(TemplateValue(t, templatesDir)))
            hive.DeleteValue(key, t.valueName);
    }
    return true;
}

}  // namespace orbel
