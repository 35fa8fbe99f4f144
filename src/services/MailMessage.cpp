#include "src/services/MailMessage.h"

#include <cstdio>

#include "platform/Api.h"
#include "platform/files/FileApi.h"
#include "platform/mail/Mail.h"
#include "src/services/ShellServices.h"

namespace orbel {

namespace {
// The framework's standard mail prompts, worded for this system.
constexpr const char* kMailNotLoaded =
    "Mail support could not be loaded: no program that hands files to a mail program "
    "(xdg-email) was found.";
constexpr const char* kMailSendFailed = "The files could not be handed to the mail program.";
constexpr const char* kNoMailProgram =
    "No mail program is set up on this computer, so the files could not be put into a new "
    "message.";
constexpr const char* kOpenFolderQuestion =
    "Would you like to open the folder that holds them, to attach them yourself?";

std::string Formatted(const char* format, const std::string& a, const std::string& b = {}) {
    const int size = std::snprintf(nullptr, 0, format, a.c_str(), b.c_str());
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, a.c_str(), b.c_str());
    text.resize(static_cast<std::size_t>(size));
    return text;
}
}  // namespace

MailMessage::MailMessage(bool silent) : m_silent(silent) {
    if (platform::MailService().Available()) return;
    m_usable = false;
    if (!m_silent) AfxMessageBox(kMailNotLoaded);
}

void MailMessage::AddAttachment(const std::string& path) {
    if (path.size() < 3) return;
    m_attachments.push_back({path, FileNamePart(path)});
}

void MailMessage::AddRecipient(const std::string& name, const std::string& address,
                               int recipientClass) {
    m_recipients.push_back({name, address, recipientClass});
}

void MailMessage::AddRecipient(const std::string& name, int recipientClass) {
    AddRecipient(name, std::string(), recipientClass);
}

int MailMessage::Send() {
    if (!m_usable) return 0;
    platform::MailRequest request;
    for (const Attachment& a : m_attachments) request.attachments.push_back(a.path);
    request.showCompose = !m_silent;
    const platform::MailResult result = platform::MailService().Send(request);
    switch (result.code) {
        case platform::kMailSuccess:
        case platform::kMailUserAbort:
        case platform::kMailLoginFailure:
            break;
        case platform::kMailNoProgram:
            if (!m_silent) OfferFolder(result.reason);
            break;
        default:
            if (!m_silent)
                AfxMessageBox(result.reason.empty()
                                  ? std::string(kMailSendFailed)
                                  : std::string(kMailSendFailed) + "\n\n" + result.reason);
            break;
    }
    return result.code;
}

void MailMessage::OfferFolder(const std::string& reason) {
    std::string text = kNoMailProgram;
    if (!reason.empty()) text += "\n\n" + reason;
    if (m_attachments.empty()) {
        AfxMessageBox(text);
        return;
    }
    text += "\n\n" + std::string(kOpenFolderQuestion);
    if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    const std::string folder = FolderPart(m_attachments.front().path);
    ShellOpen(kNoWindow, folder.empty() ? GetCurrentDirectory() : folder, SW_SHOWNORMAL);
}

bool AttachFileToMail(MailMessage& message, const std::string& path) {
    if (GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES) {
        AfxMessageBox(Formatted("File not found: %s", path));
        return false;
    }
    auto file = CreateFile(path, platform::FileAccess::Read, platform::Disposition::OpenExisting);
    if (!file) {
        AfxMessageBox(Formatted("Failed to create/open file %s.\n\nError %s", path,
                                FormatSystemMessage(GetLastError())));
        return false;
    }
    file.reset();
    message.AddAttachment(path);
    return true;
}

}  // namespace orbel
