#include "platform/spreadsheet/FileProgram.h"

#include "platform/spreadsheet/WorkbookFile.h"

namespace orbel::spreadsheet {

namespace {

class FileProgram final : public SpreadsheetProgram {
  public:
    HRESULT Open(const std::string& path, std::vector<std::string>& sheets,
                 CellSelection& selection, std::string& description) override {
        if (!ReadSheetNames(path, sheets, description)) return DISP_E_EXCEPTION;
        selection = CellSelection{};
        return S_OK;
    }
    HRESULT Show(bool, std::string&) override { return S_OK; }
    HRESULT Select(const CellSelection& cell, std::string&) override {
        if (onSelection) onSelection(cell);
        return S_OK;
    }
    void Quit() override {}
};

}  // namespace

std::unique_ptr<SpreadsheetProgram> MakeFileProgram() {
    return std::make_unique<FileProgram>();
}

}  // namespace orbel::spreadsheet
