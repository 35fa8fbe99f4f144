// The document templates the module registers with itself, so that "Create New" offers a text
// document, an XML document and a blank TIFF page on a machine where no program registered a
// template yet.
#pragma once

#include <string>

namespace orbel::platform {
class RegistryHive;
}

namespace orbel {

// The file of the blank page template in the templates folder.
inline constexpr const char* kBlankPageTemplate = "blank-page.tif";

// Gives .txt a NullFile, .xml a Data and .tif a FileName (the blank page in templatesDir)
// ShellNew value, and each extension its MIME type unless the hive names one already.
bool RegisterDocumentTemplates(platform::RegistryHive& hive, const std::string& templatesDir);
// Removes those ShellNew values where they are still the ones registered.
bool UnregisterDocumentTemplates(platform::RegistryHive& hive, const std::string& templatesDir);

}  // namespace orbel
