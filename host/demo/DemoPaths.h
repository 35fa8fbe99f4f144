// Where orbel-demo finds its things: the user's data folder for the demo store, and the
// control module and sample documents either installed beside the program
// (PREFIX/bin/orbel-demo with PREFIX/lib/orbel/orbel.so and PREFIX/share/orbel/samples) or,
// when it runs from a build tree, where that build made them.
#pragma once

#include <filesystem>
#include <string>

namespace orbel::demo {

// $XDG_DATA_HOME when it is a full path (the XDG rule: a relative one is ignored), else
// $HOME/.local/share.
std::filesystem::path DataHome();
// DataHome()/orbel/demo.orbel.
std::filesystem::path DefaultStorePath();
// The folder new documents of a store go to: beside the store file, named after it
// ("demo.orbel" keeps its documents in "demo-objects").
std::filesystem::path ObjectDirFor(const std::filesystem::path& store);

// The control module to register: $ORBEL_MODULE, else the installed one, else this build's.
std::string ModulePath();
// The imaging module ($ORBEL_IMAGING_MODULE, else the one installed beside the program, else
// this build's), registered so that the control shows its preview pane.
std::string ImagingModulePath();
// The spreadsheet module the cell link starts ($ORBEL_SPREADSHEET_MODULE, else the installed
// one on LibreOffice Calc, else this build's); empty when there is none, and the cell link
// takes typed cells only.
std::string SpreadsheetModulePath();
// The web browser module ($ORBEL_BROWSER_MODULE, else the installed one, else this build's),
// registered so that Insert Object's "&Internet" opens the browser.
std::string BrowserModulePath();
// The folder of the sample documents.
std::filesystem::path SamplesDir();

}  // namespace orbel::demo
