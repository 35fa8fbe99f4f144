// The browser's events by name, as an event recorder writes them, and those of a first page.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/browser/BrowserIds.h"

namespace orbel::test {

inline const std::map<DISPID, std::string>& BrowserEventNames() {
    namespace events = browser::events;
    static const std::map<DISPID, std::string> names{
        {events::kStatusTextChange, "StatusTextChange"},
        {events::kDownloadComplete, "DownloadComplete"},
        {events::kCommandStateChange, "CommandStateChange"},
        {events::kDownloadBegin, "DownloadBegin"},
        {events::kProgressChange, "ProgressChange"},
        {events::kTitleChange, "TitleChange"},
        {events::kNavigateComplete2, "NavigateComplete2"},
        {events::kDocumentComplete, "DocumentComplete"},
    };
    return names;
}

// What the recorder writes for the first page a browser opens.
inline std::vector<std::string> EventsOfFirstPage(const std::string& url,
                                                  const std::string& title) {
    return {
        "DownloadBegin()",
        "NavigateComplete2(<object>, \"" + url + "\")",
        "StatusTextChange(\"Opening page " + url + "...\")",
        "TitleChange(\"" + title + "\")",
        "StatusTextChange(\"Done\")",
        "CommandStateChange(1, FALSE)",
        "CommandStateChange(2, FALSE)",
        "DownloadComplete()",
        "DocumentComplete(<object>, \"" + url + "\")",
    };
}

}  // namespace orbel::test
