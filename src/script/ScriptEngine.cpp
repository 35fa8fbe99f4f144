#include "src/script/ScriptEngine.h"

#include "src/script/jscript/JScriptEngine.h"

namespace orbel {

namespace {

// The language is known but its interpreter is not part of this build: every call says so,
// so that a VBScript item fails where it is used and nothing is silently skipped.
class UnavailableEngine final : public IScriptEngine {
  public:
    explicit UnavailableEngine(std::string language) : language_(std::move(language)) {}
    bool AddCode(const std::string&, ScriptError& error) override { return Fail(error); }
    bool Procedures(std::vector<std::string>&, ScriptError& error) override { return Fail(error); }
    bool Run(const std::string&, const std::vector<Variant>&, Variant&,
             ScriptError& error) override {
        return Fail(error);
    }
    void Reset() override {}

  private:
    bool Fail(ScriptError& error) const {
        error = {language_ + " is not available yet", 0};
        return false;
    }
    std::string language_;
};

}  // namespace

std::string ScriptError::Text() const {
    if (line <= 0) return description;
    return description + " (line " + std::to_string(line) + ")";
}

IScriptSite::~IScriptSite() = default;
IScriptEngine::~IScriptEngine() = default;

std::unique_ptr<IScriptEngine> CreateScriptEngine(const std::string& language, IScriptSite& site,
                                                  const ScriptLimit& limit) {
    if (language == "JScript") return std::make_unique<JScriptEngine>(site, limit);
    if (language == "VBScript") return std::make_unique<UnavailableEngine>(language);
    return nullptr;
}

}  // namespace orbel
