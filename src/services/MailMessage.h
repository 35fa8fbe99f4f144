// One mail message built, sent and dropped by its caller: the files to attach, in the order
// added, handed to the user's mail program, which opens its compose window with them.
#pragma once

#include <string>
#include <vector>

#include "platform/Win.h"

namespace orbel {

class MailMessage {
  public:
    // `silent` suppresses every message and the compose window.
    explicit MailMessage(bool silent);

    struct Attachment {
        std::string path;
        std::string fileName;
    };
    struct Recipient {
        std::string name;
        std::string address;
        int recipientClass = 0;
    };

    // A path shorter than 3 characters is ignored. The name shown is the text after the last
    // "/" or "\".
    void AddAttachment(const std::string& path);
    void AddRecipient(const std::string& name, const std::string& address, int recipientClass);
    void AddRecipient(const std::string& name, int recipientClass);
    void SetSubject(const std::string& subject) { m_subject = subject; }
    void SetNoteText(const std::string& text) { m_noteText = text; }
    // Hands the message over; the mail result (0 sent or handed over, 1 closed unsent).
    int Send();

    bool Usable() const { return m_usable; }
    const std::vector<Attachment>& Attachments() const { return m_attachments; }
    const std::vector<Recipient>& Recipients() const { return m_recipients; }

  private:
    // Tells the user that no mail program took the files and offers to open their folder.
    void OfferFolder(const std::string& reason);

    bool m_silent;
    bool m_usable = true;
    std::vector<Attachment> m_attachments;
    std::vector<Recipient> m_recipients;
    std::string m_subject;
    std::string m_noteText;
};

// Adds the file when it exists and can be read; otherwise says why and gives false. Only
// reading is asked for: a read-only file is mailed like any other.
bool AttachFileToMail(MailMessage& message, const std::string& path);

}  // namespace orbel
