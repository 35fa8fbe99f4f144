// Where the browser without a desktop gets its pages: files on this computer (file://) and
// pages of a web server on this computer (http://127.0.0.1 or localhost), read whole. It reads
// a page's title from its <title> and runs nothing of what the page holds.
#pragma once

#include <string>

namespace orbel::browser {

struct FetchedPage {
    bool ok = false;
    std::string url;    // where the page ended up, after the server's redirections
    std::string title;  // the page's <title>, else the address
    std::string error;  // why the page could not be read
};

// The address a person means by what was typed: a full path is a file, a text without a
// scheme a web address.
std::string CompleteAddress(const std::string& typed);
// The page at the address (complete it first).
FetchedPage FetchPage(const std::string& url);
// The text of the first <title> element, its white space run together and its character
// references for &, <, >, " and ' decoded; empty when there is none.
std::string TitleOfHtml(const std::string& html);

}  // namespace orbel::browser
