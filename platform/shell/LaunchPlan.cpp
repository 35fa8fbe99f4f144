#include "platform/shell/LaunchPlan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/shell/CommandLine.h"

namespace orbel::platform {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// One pair of enclosing double quotes removed, as a stored command quotes a path.
std::string_view Unquote(std::string_view s) {
    s = Trim(s);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}

std::string Getenv(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// "scheme://..." or "mailto:...": a one-letter scheme would be a drive letter.
bool IsAddress(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && other)) return false;
    }
    const std::string scheme = Lower(text.substr(0, colon));
    return text.substr(colon + 1).starts_with("//") || scheme == "mailto";
}

constexpr std::string_view kNoOpener =
    "No program to open documents was found: xdg-open is not installed.";

// Why a file of this kind is not opened as a document; empty for files and folders.
std::string_view SpecialFileReason(const struct stat& st) {
    if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) return {};
    if (S_ISFIFO(st.st_mode)) return "This is a named pipe, not a document.";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "This is a device, not a document.";
    if (S_ISSOCK(st.st_mode)) return "This is a socket, not a document.";
    return "This is not a document.";
}

class Planner {
  public:
    Planner(const ShellRequest& request, const ShellEnvironment& env)
        : request_(request), env_(env) {
        base_ = env.currentDirectory;
        if (!request.directory.empty()) {
            base_ = fs::path(request.directory).is_absolute()
                        ? request.directory
                        : (fs::path(env.currentDirectory) / request.directory).string();
        }
        plan_.directory = request.directory.empty() ? std::string() : base_;
    }

    LaunchPlan Make() {
        const std::string verb = CanonicalVerb(request_.verb);
        if (verb != "open" && verb != "explore" && verb != "edit") return Fail(SE_ERR_NOASSOC);
        if (request_.file.find('\0') != std::string::npos ||
            request_.parameters.find('\0') != std::string::npos) {
            return Fail(SE_ERR_FNF);
        }
        if (verb == "edit") return Editor(request_.file);
        if (request_.target == ShellTarget::Document) return Open(request_.file, false);
        // A Linux path is a document even when it is called "notepad"; the stored commands
        // name these programs bare or with a Windows folder.
        const std::string stem = request_.file.find('/') == std::string::npos
                                     ? ProgramStem(request_.file)
                                     : std::string();
        if (stem == "explorer") return Explorer(request_.parameters);
        if (stem == "notepad") return Editor(Unquote(request_.parameters));
        if (stem == "iexplore") return Browser(Trim(request_.parameters));
        return Open(request_.file, true);
    }

  private:
    LaunchPlan Fail(int code, std::string reason = {}) {
        plan_.failure = code;
        plan_.reason = std::move(reason);
        plan_.launches.clear();
        return plan_;
    }

    std::string Absolute(std::string_view path) const {
        fs::path p{std::string(path)};
        if (!p.is_absolute()) p = fs::path(base_) / p;
        return p.lexically_normal().string();
    }

    // The result code for a path that cannot be examined, and in words which file was looked
    // for where: a stored path that a mapping or another machine made wrong shows as such.
    static std::pair<int, std::string> Missing(const std::string& absolute) {
        const int error = errno;
        const fs::path path(absolute);
        const std::string name = "\"" + path.filename().string() + "\"";
        const std::string parent = path.parent_path().string();
        if (error != ENOENT)
            return {ShellErrorFromErrno(error),
                    name + " in " + parent + " cannot be read: " + std::strerror(error) + "."};
        struct stat st {};
        if (::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return {SE_ERR_FNF, "There is no file " + name + " in the folder " + parent + "."};
        return {SE_ERR_PNF,
                "The folder " + parent + ", where " + name + " was looked for, does not exist."};
    }
    LaunchPlan FailMissing(const std::string& absolute) {
        auto [code, reason] = Missing(absolute);
        return Fail(code, std::move(reason));
    }

    // An ELF binary or a "#!" script with execute permission. Documents on shared folders
    // often carry execute bits too; they are opened, not run.
    static bool IsProgramFile(const std::string& path, const struct stat& st) {
        if (!S_ISREG(st.st_mode) || ::access(path.c_str(), X_OK) != 0) return false;
        std::ifstream in(path, std::ios::binary);
        std::array<char, 4> head{};
        in.read(head.data(), head.size());
        const std::string_view magic(head.data(), static_cast<std::size_t>(in.gcount()));
        constexpr std::string_view kElf("\x7f\x45\x4c\x46", 4);  // "\177ELF"
        return magic.starts_with(kElf) || magic.starts_with("#!");
    }

    bool AddOpener(std::string target) {
        const auto opener = FindProgram("xdg-open", env_.path);
        if (!opener) return false;
        plan_.launches.push_back({{*opener, std::move(target)}, LaunchMode::Opener});
        return true;
    }

    LaunchPlan OpenWithOpener(std::string target) {
        if (!AddOpener(std::move(target))) return Fail(SE_ERR_NOASSOC, std::string(kNoOpener));
        return plan_;
    }

    // mayRun: the file comes from a command the system composed, so a program there is run;
    // anything else is only ever handed to the opener.
    LaunchPlan Open(std::string_view file, bool mayRun) {
        if (file.empty()) return Fail(SE_ERR_FNF);
        if (IsAddress(file)) return OpenWithOpener(std::string(file));
        std::string path = Absolute(file);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            auto [code, reason] = Missing(path);
            // A bare program name is looked for on PATH, as the original shell does.
            if (mayRun && file.find('/') == std::string_view::npos) {
                if (auto program = FindProgram(file, env_.path)) {
                    path = *program;
                    if (::stat(path.c_str(), &st) == 0 && IsProgramFile(path, st)) {
                        return Run(path);
                    }
                }
            }
            return Fail(code, std::move(reason));
        }
        if (mayRun && IsProgramFile(path, st)) return Run(path);
        // A program reading a pipe or a device as a document would wait or read forever.
        if (const std::string_view kind = SpecialFileReason(st); !kind.empty()) {
            return Fail(SE_ERR_NOASSOC, std::string(kind));
        }
        return OpenWithOpener(path);
    }

    LaunchPlan Run(const std::string& program) {
        Launch launch{{program}, LaunchMode::Detached};
        for (std::string& word : SplitShellWords(request_.parameters)) {
            launch.argv.push_back(std::move(word));
        }
        plan_.launches.push_back(std::move(launch));
        return plan_;
    }

    LaunchPlan Explorer(std::string_view parameters) {
        parameters = Trim(parameters);
        const bool select = Lower(parameters.substr(0, 8)) == "/select,";
        const std::string_view target = Unquote(select ? parameters.substr(8) : parameters);
        if (target.empty()) return Fail(SE_ERR_FNF);
        const std::string path = Absolute(target);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return FailMissing(path);
        if (!select) return OpenWithOpener(path);

        if (env_.sessionBus) {
            const std::string uri = FileUri(path);
            if (auto send = FindProgram("dbus-send", env_.path)) {
                plan_.launches.push_back(
                    {{*send, "--session", "--print-reply", "--reply-timeout=2000",
                      "--dest=org.freedesktop.FileManager1", "--type=method_call",
                      "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1.ShowItems",
                      "array:string:" + uri, "string:"},
                     LaunchMode::Query});
            } else if (auto gdbus = FindProgram("gdbus", env_.path)) {
                // FileUri leaves no quote, so the address is safe inside the variant text.
                plan_.launches.push_back(
                    {{*gdbus, "call", "--session", "--timeout", "2", "--dest",
                      "org.freedesktop.FileManager1", "--object-path",
                      "/org/freedesktop/FileManager1", "--method",
                      "org.freedesktop.FileManager1.ShowItems", "['" + uri + "']", ""},
                     LaunchMode::Query});
            }
        }
        AddOpener(fs::path(path).parent_path().string());
        if (plan_.launches.empty()) return Fail(SE_ERR_NOASSOC);
        return plan_;
    }

    LaunchPlan Editor(std::string_view file) {
        std::string path = file.empty() ? std::string() : Absolute(file);
        std::vector<std::string> editor =
            SplitShellWords(!env_.visual.empty() ? env_.visual : env_.editor);
        if (!editor.empty()) {
            if (auto program = FindProgram(editor[0], env_.path)) {
                editor[0] = *program;
                if (!path.empty()) editor.push_back(path);
                if (!IsTerminalEditor(editor)) {
                    plan_.launches.push_back({std::move(editor), LaunchMode::Detached});
                    return plan_;
                }
                if (auto terminal = Terminal()) {
                    terminal->push_back("-e");
                    terminal->insert(terminal->end(), editor.begin(), editor.end());
                    plan_.launches.push_back({std::move(*terminal), LaunchMode::Detached});
                    return plan_;
                }
            }
        }
        if (path.empty()) return Fail(SE_ERR_NOASSOC);
        // Only ever opened: a script asked to be edited must not run.
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return FailMissing(path);
        return OpenWithOpener(path);
    }

    std::optional<std::vector<std::string>> Terminal() const {
        std::vector<std::string> words = SplitShellWords(env_.terminal);
        if (!words.empty()) {
            if (auto program = FindProgram(words[0], env_.path)) {
                words[0] = *program;
                return words;
            }
        }
        for (const char* name : {"x-terminal-emulator", "xterm"}) {
            if (auto program = FindProgram(name, env_.path)) {
                return std::vector<std::string>{*program};
            }
        }
        return std::nullopt;
    }

    LaunchPlan Browser(std::string_view address) {
        std::string target(address);
        if (!target.empty() && !IsAddress(target)) {
            const std::string path = Absolute(target);
            struct stat st {};
            if (::stat(path.c_str(), &st) == 0) target = path;
        }
        // What is left is handed over as an address; one that reads as an option is not.
        if (target.starts_with("-")) return Fail(SE_ERR_FNF);

        std::string_view list = env_.browser;
        while (!list.empty()) {
            const std::size_t colon = list.find(':');
            const std::string_view entry = list.substr(0, colon);
            list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
            std::vector<std::string> words = SplitShellWords(entry);
            if (words.empty()) continue;
            const auto program = FindProgram(words[0], env_.path);
            if (!program) continue;
            words[0] = *program;
            bool placed = false;
            for (std::size_t i = 1; i < words.size(); ++i) {
                for (std::size_t at = words[i].find("%s"); at != std::string::npos;
                     at = words[i].find("%s", at + target.size())) {
                    words[i].replace(at, 2, target);
                    placed = true;
                }
            }
            if (!placed && !target.empty()) words.push_back(target);
            plan_.launches.push_back({std::move(words), LaunchMode::Detached});
            return plan_;
        }
        if (target.empty()) return Fail(SE_ERR_NOASSOC);
        return OpenWithOpener(target);
    }

    const ShellRequest& request_;
    const ShellEnvironment& env_;
    std::string base_;
    LaunchPlan plan_;
};

}  // namespace

ShellEnvironment ShellEnvironment::FromProcess() {
    ShellEnvironment env;
    env.path = Getenv("PATH");
    env.browser = Getenv("BROWSER");
    env.visual = Getenv("VISUAL");
    env.editor = Getenv("EDITOR");
    env.terminal = Getenv("TERMINAL");
    std::error_code ec;
    env.currentDirectory = fs::current_path(ec).string();
    if (!Getenv("DBUS_SESSION_BUS_ADDRESS").empty()) {
        env.sessionBus = true;
    } else if (const std::string runtime = Getenv("XDG_RUNTIME_DIR"); !runtime.empty()) {
        struct stat st {};
        env.sessionBus = ::stat((runtime + "/bus").c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
    }
    return env;
}

std::string LaunchPlan::Describe() const {
    if (failure != 0) {
        return "failure " + std::to_string(failure) + (reason.empty() ? "" : ": " + reason);
    }
    std::string out;
    for (const Launch& launch : launches) {
        switch (launch.mode) {
            case LaunchMode::Detached:
                out += "run: ";
                break;
            case LaunchMode::Opener:
                out += "open: ";
                break;
            case LaunchMode::Query:
                out += "ask: ";
                break;
        }
        out += JoinShellWords(launch.argv) + "\n";
    }
    return out;
}

LaunchPlan PlanShellRequest(const ShellRequest& request, const ShellEnvironment& env) {
    return Planner(request, env).Make();
}

std::optional<std::string> FindProgram(std::string_view name, std::string_view searchPath) {
    auto executable = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
               ::access(path.c_str(), X_OK) == 0;
    };
    if (name.empty() || name.find('\0') != std::string_view::npos) return std::nullopt;
    if (name.find('/') != std::string_view::npos) {
        std::string path(name);
        if (executable(path)) return path;
        return std::nullopt;
    }
    while (!searchPath.empty()) {
        const std::size_t colon = searchPath.find(':');
        const std::string_view dir = searchPath.substr(0, colon);
        searchPath =
            colon == std::string_view::npos ? std::string_view() : searchPath.substr(colon + 1);
        if (dir.empty()) continue;
        std::string path = std::string(dir) + "/" + std::string(name);
        if (executable(path)) return path;
    }
    return std::nullopt;
}

std::string PercentEncoded(std::string_view text, std::string_view keep) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || keep.find(ch) != std::string_view::npos;
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::string FileUri(std::string_view absolutePath) {
    return "file://" + PercentEncoded(absolutePath, "-._~/");
}

bool IsTerminalEditor(const std::vector<std::string>& command) {
    if (command.empty()) return false;
    const std::string name = fs::path(command[0]).filename().string();
    for (const char* editor :
         {"vi", "vim", "nvim", "view", "nano",  "pico", "micro", "joe",  "jed",   "ne", "mcedit",
          "ed", "ex",  "kak",  "hx",   "helix", "mg",   "zile",  "jove", "elvis", "vis"}) {
        if (name == editor) return true;
    }
    if (name == "emacs" || name == "emacsclient") {
        for (const std::string& word : command) {
            if (word == "-nw" || word == "--no-window-system" || word == "-t" || word == "--tty") {
                return true;
            }
        }
    }
    return false;
}

std::string ProgramStem(std::string_view file) {
    std::string_view name = Unquote(file);
    const std::size_t sep = name.find_last_of("\\/");
    if (sep != std::string_view::npos) name = name.substr(sep + 1);
    std::string stem = Lower(name);
    if (stem.ends_with(".exe")) stem.resize(stem.size() - 4);
    return stem;
}

}  // namespace orbel::platform
