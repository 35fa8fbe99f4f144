#include "platform/shell/RecordingShell.h"

#include "platform/automation/Variant.h"

namespace orbel::platform {
int RecordingShell::Execute(const ShellRequest& request) {
    int result = kShellStarted;
    if (!failures_.empty()) {
        result = failures_.front();
        failures_.pop_front();
    }
    records_.push_back({request, result});
    if (listener_) listener_("shell " + Line(records_.back()));
    return result;
}

std::string RecordingShell::Line(const Record& record) {
    const ShellRequest& r = record.request;
    return CanonicalVerb(r.verb) + (r.invokeIdList ? "(ex)" : "") + " file=" + QuoteString(r.file) +
           " parameters=" + QuoteString(r.parameters) + " directory=" + QuoteString(r.directory) +
           " show=" + std::to_string(r.show) + " -> " + std::to_string(record.result);
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
        for (int code : failures_) out += " " + std::to_string(code);
        out += "\n";
    }
    return out;
}

}  // namespace orbel::platform
