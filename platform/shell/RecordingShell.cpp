#include "platform/shell/RecordingShell.h"

#include "platform/automation/Variant.h"

namespace orbel::platform {
ShellResult RecordingShell::Execute(const ShellRequest& request) {
    ShellResult result{kShellStarted, {}};
    if (!failures_.empty()) {
        result = std::move(failures_.front());
        failures_.pop_front();
    }
    records_.push_back({request, result.code, result.reason});
    if (listener_) listener_("shell " + Line(records_.back()));
    return result;
}

std::string RecordingShell::Line(const Record& record) {
    const ShellRequest& r = record.request;
    std::string line = CanonicalVerb(r.verb) + (r.invokeIdList ? "(ex)" : "");
    if (r.target == ShellTarget::Document) {
        line += " document=" + QuoteString(r.file);
    } else {
        line += " file=" + QuoteString(r.file) + " parameters=" + QuoteString(r.parameters) +
                " directory=" + QuoteString(r.directory);
    }
    line += " show=" + std::to_string(r.show) + " -> " + std::to_string(record.result);
    if (!record.reason.empty()) line += " " + QuoteString(record.reason);
    return line;
}

std::vector<std::string> RecordingShell::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(records_.size());
    for (const Record& record : records_) lines.push_back(Line(record));
    return lines;
}

std::string RecordingShell::Dump() const {
    std::string out;
    for (const Record& record : records_) out += "  " + Line(record) + "\n";
    if (!failures_.empty()) {
        out += "  queued failures:";
        for (const ShellResult& failure : failures_) out += " " + std::to_string(failure.code);
        out += "\n";
    }
    return out;
}

}  // namespace orbel::platform
