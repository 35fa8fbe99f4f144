// Workbooks made at test time: an .xls written by Debian's Python with xlwt, and an .ods
// written here as a zip archive holding the content.xml the tables are named in.
#pragma once

#include <string>
#include <vector>

namespace orbel::test {

// False, with `why` saying what is missing, when /usr/bin/python3 or its xlwt is not there.
bool MakeXls(const std::string& path, const std::vector<std::string>& sheets, std::string& why);
void MakeOds(const std::string& path, const std::vector<std::string>& sheets);

}  // namespace orbel::test
