#include "platform/mail/LinuxMail.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/EffectLog.h"
#include "platform/shell/LaunchPlan.h"

extern char** environ;

namespace orbel::platform {

namespace {
constexpr const char* kProgram = "xdg-email";

std::string SearchPath() {
    const char* path = std::getenv("PATH");
    return path ? path : "";
}
}  // namespace

std::string MailtoUri(const std::string& address) {
    return "mailto:" + PercentEncoded(address, "@.-_+~");
}

MailResult MailResultForExit(int status) {
    switch (status) {
        case 0:
            return {kMailSuccess, {}};
        case 2:
            return {kMailAttachmentMissing, "xdg-email could not find one of the files."};
        case 3:
            return {kMailNoProgram, "xdg-email found no mail program to hand the files to."};
        default:
            return {kMailFailure, "xdg-email ended with status " + std::to_string(status) + "."};
    }
}

bool LinuxMail::Available() const {
    return FindProgram(kProgram, SearchPath()).has_value();
}

MailResult LinuxMail::Send(const MailRequest& request) {
    MailResult result;
    const std::optional<std::string> program = FindProgram(kProgram, SearchPath());
    if (!program) {
        result = {kMailNoProgram, "xdg-email is not installed, so no mail program can be asked."};
    } else {
        std::vector<std::string> argv{*program};
        for (const std::string& file : request.attachments) {
            argv.push_back("--attach");
            argv.push_back(file);
        }
        // As mailto: URIs, so that no address is ever read as one of xdg-email's options.
        for (const std::string& address : request.to) argv.push_back(MailtoUri(address));
        std::vector<char*> args;
        for (std::string& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        pid_t pid = 0;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        const int error =
            posix_spawn(&pid, program->c_str(), &actions, nullptr, args.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) {
            result = {kMailFailure,
                      "xdg-email could not be started: " + std::string(std::strerror(error)) + "."};
        } else {
            // xdg-email hands the files over and ends; a mail program that it runs in the
            // foreground is given the limit, then left to the user.
            const auto deadline = std::chrono::steady_clock::now() + limit_;
            int status = 0;
            pid_t done = 0;
            while ((done = waitpid(pid, &status, WNOHANG)) == 0 &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (done == pid)
                result = MailResultForExit(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
            else {
                // Still running: it has the files; the mail program is the user's now, and
                // a thread of its own collects it when it ends.
                std::thread([pid] {
                    int ignored = 0;
                    waitpid(pid, &ignored, 0);
                }).detach();
                result = {kMailSuccess, {}};
            }
        }
    }
    RecordEffect(MailLine(request, result));
    return result;
}

}  // namespace orbel::platform
