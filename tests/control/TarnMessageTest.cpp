#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "src/control/TarnMessage.h"

namespace orbel {
namespace {

// The arguments of a message that must parse as command T.
template <class T>
T Args(std::string_view message) {
    std::optional<TarnCommand> cmd = ParseTarnMessage(message);
    if (!cmd) {
        ADD_FAILURE() << "no command for \"" << message << "\"";
        return T{};
    }
    EXPECT_EQ(cmd->letter, message.front());
    const T* args = std::get_if<T>(&cmd->args);
    if (!args) {
        ADD_FAILURE() << "\"" << message << "\" parsed as another command";
        return T{};
    }
    return *args;
}

// A text of exactly `width` characters, blank-padded, as the host writes its fields.
std::string Pad(std::string_view text, std::size_t width) {
    std::string s(text);
    s.resize(width, ' ');
    return s;
}

TEST(TarnMessageTest, EmptyMessagesAndLettersWithoutACommandGiveNothing) {
    EXPECT_FALSE(ParseTarnMessage(""));
    EXPECT_FALSE(ParseTarnMessage("X123"));
    EXPECT_FALSE(ParseTarnMessage(" D"));
    // Commands are case-sensitive: "B" and "I" are not "b" and "i".
    EXPECT_FALSE(ParseTarnMessage("B"));
    EXPECT_FALSE(ParseTarnMessage("IYN00000070"));
    // The message ends at its first zero character, as it does for the control.
    EXPECT_FALSE(ParseTarnMessage(std::string_view("\0D", 2)));
    EXPECT_EQ(Args<tarn::SetObjectDir>(std::string_view("o/srv/obj\0junk", 14)).directory,
              "/srv/obj");
}

TEST(TarnMessageTest, CommandsWithoutPayloadIgnoreWhateverFollowsTheLetter) {
    EXPECT_TRUE(std::holds_alternative<tarn::DeleteAllListViewItems>(ParseTarnMessage("D")->args));
    EXPECT_TRUE(std::holds_alternative<tarn::BeginTreeDownload>(ParseTarnMessage("Tx")->args));
    EXPECT_TRUE(std::holds_alternative<tarn::EndTreeDownload>(ParseTarnMessage("t  ")->args));
    EXPECT_TRUE(std::holds_alternative<tarn::SetBatchMaint>(ParseTarnMessage("bN")->args));
    EXPECT_TRUE(std::holds_alternative<tarn::SetDirectorySelect>(ParseTarnMessage("j")->args));
}

TEST(TarnMessageTest, OptionBitsAreSetOnlyByAnUpperCaseY) {
    tarn::SetOptionBits show = Args<tarn::SetOptionBits>("A00001Y");
    EXPECT_EQ(show.mask, 1);
    EXPECT_TRUE(show.set);
    tarn::SetOptionBits hide = Args<tarn::SetOptionBits>("A00001N");
    EXPECT_EQ(hide.mask, 1);
    EXPECT_FALSE(hide.set);
    EXPECT_EQ(Args<tarn::SetOptionBits>("A00002Y").mask, 2);
    EXPECT_FALSE(Args<tarn::SetOptionBits>("A00001y").set);
    // The mask is five characters wide: a sixth digit is the flag position, not the mask.
    tarn::SetOptionBits wide = Args<tarn::SetOptionBits>("A000031");
    EXPECT_EQ(wide.mask, 3);
    EXPECT_FALSE(wide.set);
    // Nothing after the letter: no bits, and clearing.
    EXPECT_EQ(Args<tarn::SetOptionBits>("A").mask, 0);
    EXPECT_FALSE(Args<tarn::SetOptionBits>("A").set);
}

TEST(TarnMessageTest, AutoCreateIsOnOnlyForAnUpperCaseY) {
    EXPECT_TRUE(Args<tarn::SetAutoCreate>("aY").on);
    EXPECT_FALSE(Args<tarn::SetAutoCreate>("ay").on);
    EXPECT_FALSE(Args<tarn::SetAutoCreate>("aN").on);
    EXPECT_FALSE(Args<tarn::SetAutoCreate>("a").on);
}

TEST(TarnMessageTest, TextsTakenAsSentKeepTheirBlanks) {
    EXPECT_EQ(Args<tarn::SetBrowseTarget>("H http://intra/docs ").target, " http://intra/docs ");
    EXPECT_EQ(Args<tarn::SetBrowseTarget>("H").target, "");
    EXPECT_EQ(Args<tarn::RequestDeleteObject>("c\\\\srv\\obj\\000012.tif  ").objectPath,
              "\\\\srv\\obj\\000012.tif  ");
    EXPECT_EQ(Args<tarn::SetObjectDir>("o/srv/orbel/objects ").directory, "/srv/orbel/objects ");
    // A script line starts at position 2 whatever position 1 holds.
    EXPECT_EQ(Args<tarn::AddSystemScript>("$xmsgbox \"hi\"  ").text, "msgbox \"hi\"  ");
    EXPECT_EQ(Args<tarn::AddSystemScript>("$ ").text, "");
    EXPECT_EQ(Args<tarn::AddSystemScript>("$").text, "");
}

TEST(TarnMessageTest, TheViewFileTextLosesOnlyItsTrailingBlanks) {
    EXPECT_EQ(Args<tarn::SetViewFile>("y  list.xsl \t ").text, "  list.xsl");
    EXPECT_EQ(Args<tarn::SetViewFile>("y   ").text, "");
}

TEST(TarnMessageTest, EntryKeyCommandsPassTheKeyAsSent) {
    // A class entry's key ends in 1; it must reach the panes unchanged.
    EXPECT_EQ(Args<tarn::SetListParent>("P00000071").entryKey, 71);
    EXPECT_EQ(Args<tarn::DeleteTreeItem>("d00000070").entryKey, 70);
    EXPECT_EQ(Args<tarn::DeleteListItem>("g00001230").entryKey, 1230);
    tarn::SetTreeParent move = Args<tarn::SetTreeParent>("p0000007000000121");
    EXPECT_EQ(move.entryKey, 70);
    EXPECT_EQ(move.parentKey, 121);
    // Only 8 characters belong to the key.
    EXPECT_EQ(Args<tarn::SetListParent>("P000000709").entryKey, 70);
}

TEST(TarnMessageTest, AddTreeViewItemTurnsEntryKeysIntoEntryNumbers) {
    tarn::AddTreeViewItem add =
        Args<tarn::AddTreeViewItem>("iYN0000007000000121" + Pad("Invoices 2024", 30));
    EXPECT_TRUE(add.folder);
    EXPECT_FALSE(add.classItem);
    EXPECT_EQ(add.entryNo, 7);
    EXPECT_EQ(add.parentNo, 12);
    EXPECT_EQ(add.name, "Invoices 2024");

    tarn::AddTreeViewItem cls = Args<tarn::AddTreeViewItem>("iYY0000003100000000Customers");
    EXPECT_TRUE(cls.classItem);
    EXPECT_EQ(cls.entryNo, 3);
    EXPECT_EQ(cls.parentNo, 0);
    EXPECT_EQ(cls.name, "Customers");

    // The name field is 30 characters: anything after it is not part of the name.
    EXPECT_EQ(
        Args<tarn::AddTreeViewItem>("iYN0000007000000000" + std::string(30, 'n') + "EXTRA").name,
        std::string(30, 'n'));
}

TEST(TarnMessageTest, AddListViewItemReadsNameAndResourcePath) {
    tarn::AddListViewItem add = Args<tarn::AddListViewItem>(
        "mNN00000450" + Pad("Scan of March", 30) + "\\\\srv\\obj\\000045.tif%P YN%   ");
    EXPECT_FALSE(add.folder);
    EXPECT_FALSE(add.classItem);
    EXPECT_EQ(add.entryNo, 45);
    EXPECT_EQ(add.name, "Scan of March");
    EXPECT_EQ(add.resource, "\\\\srv\\obj\\000045.tif%P YN%");

    // A folder row carries no resource path.
    tarn::AddListViewItem folder = Args<tarn::AddListViewItem>("mYN00000120Letters");
    EXPECT_TRUE(folder.folder);
    EXPECT_EQ(folder.entryNo, 12);
    EXPECT_EQ(folder.name, "Letters");
    EXPECT_EQ(folder.resource, "");
}

TEST(TarnMessageTest, ImageDetailsAndItemUpdatesReadTheirPageFields) {
    tarn::SetImageDetails img = Args<tarn::SetImageDetails>("s0000045000301200000777");
    EXPECT_EQ(img.entryKey, 450);
    EXPECT_EQ(img.pageStart, 3);
    EXPECT_EQ(img.pageEnd, 12);
    EXPECT_EQ(img.batch, 777);

    tarn::UpdateItem item =
        Args<tarn::UpdateItem>("v00000450" + Pad("Scan of April", 30) + "001004" + "123456789");
    EXPECT_EQ(item.entryKey, 450);
    EXPECT_EQ(item.name, "Scan of April");
    EXPECT_EQ(item.pageStart, 1);
    EXPECT_EQ(item.pageEnd, 4);
    // The batch runs to the end of the message, not to 8 characters.
    EXPECT_EQ(item.batch, 123456789);

    tarn::UpdateFolder folder = Args<tarn::UpdateFolder>("u00000121" + Pad("Suppliers", 30));
    EXPECT_EQ(folder.entryKey, 121);
    EXPECT_EQ(folder.name, "Suppliers");
}

TEST(TarnMessageTest, NameFieldsCountCharactersSoNoNameIsCutInsideOneAndNoFieldMoves) {
    // 19 characters in 34 bytes, padded to 30 characters as the host writes the field.
    const std::string greek = "Ελληνικά έγγραφα 26";
    const std::string field = greek + std::string(11, ' ');
    tarn::UpdateItem item = Args<tarn::UpdateItem>("v00000450" + field + "002005" + "7");
    EXPECT_EQ(item.name, greek);
    EXPECT_EQ(item.pageStart, 2);
    EXPECT_EQ(item.pageEnd, 5);
    EXPECT_EQ(item.batch, 7);
    tarn::AddListViewItem listed =
        Args<tarn::AddListViewItem>("mNN00000450" + field + "/srv/Übersicht.pdf");
    EXPECT_EQ(listed.name, greek);
    EXPECT_EQ(listed.resource, "/srv/Übersicht.pdf");
    // A name past the width keeps its first thirty characters whole.
    const std::string cjk30 = "会議の議事録と年次報告書の最終版をここに保存する場所です追加";
    EXPECT_EQ(Args<tarn::UpdateFolder>("u00000121" + cjk30 + "です").name, cjk30);
    EXPECT_EQ(Args<tarn::AddTreeViewItem>("iYN0000012000000000" + cjk30).name, cjk30);
    // The attach answer's target is its last eight characters, whatever the text is made of.
    EXPECT_EQ(ParseAttachOrEmailReply("A1", "hÜbersicht 00000042")->attachText, "Übersicht");
    EXPECT_EQ(ParseAttachOrEmailReply("E1", "hÄÖÜäöjörg@example.org 000000042")->emailText,
              "jörg@example.org");
}

TEST(TarnMessageTest, ShortAndMalformedPayloadsReadAsZeroOrTheirLeadingDigits) {
    // Cut short inside a field: what is there is read.
    tarn::SetImageDetails cut = Args<tarn::SetImageDetails>("s000004500");
    EXPECT_EQ(cut.entryKey, 450);
    EXPECT_EQ(cut.pageStart, 0);
    EXPECT_EQ(cut.pageEnd, 0);
    EXPECT_EQ(cut.batch, 0);
    tarn::AddTreeViewItem bare = Args<tarn::AddTreeViewItem>("i");
    EXPECT_FALSE(bare.folder);
    EXPECT_EQ(bare.entryNo, 0);
    EXPECT_EQ(bare.name, "");
    EXPECT_EQ(Args<tarn::UpdateItem>("v00000450Name").name, "Name");

    // atoi: leading blanks and a sign are read, the first other character ends the number.
    EXPECT_EQ(Args<tarn::SetListParent>("P   00070").entryKey, 70);
    EXPECT_EQ(Args<tarn::SetListParent>("P-0000070").entryKey, -70);
    EXPECT_EQ(Args<tarn::SetListParent>("P+0000070").entryKey, 70);
    EXPECT_EQ(Args<tarn::SetListParent>("P0070x123").entryKey, 70);
    EXPECT_EQ(Args<tarn::SetListParent>("Pabcdefgh").entryKey, 0);
    EXPECT_EQ(Args<tarn::SetListParent>("P- 000070").entryKey, 0);
    // Fields padded with leading blanks read their number; a blank inside a field ends it.
    tarn::SetImageDetails padded = Args<tarn::SetImageDetails>("s     450  3 12     777");
    EXPECT_EQ(padded.entryKey, 450);
    EXPECT_EQ(padded.pageStart, 3);
    EXPECT_EQ(padded.pageEnd, 12);
    EXPECT_EQ(padded.batch, 777);
    tarn::SetImageDetails split = Args<tarn::SetImageDetails>("s004 50001 2 3 ");
    EXPECT_EQ(split.entryKey, 4);
    EXPECT_EQ(split.pageStart, 1);
    EXPECT_EQ(split.pageEnd, 3);
}

TEST(TarnMessageTest, EntryNumberFieldsDropTheKeysLastDigit) {
    EXPECT_EQ(Args<tarn::AddTreeViewItem>("iYN00000070").entryNo, 7);
    EXPECT_EQ(Args<tarn::AddTreeViewItem>("iYY00000071").entryNo, 7);
    EXPECT_EQ(Args<tarn::AddTreeViewItem>("iYN00000009").entryNo, 0);
    EXPECT_EQ(Args<tarn::AddListViewItem>("mNN-0000070").entryNo, -7);
}

TEST(TarnMessageTest, NumbersBeyond32BitsSaturate) {
    EXPECT_EQ(Args<tarn::UpdateItem>("v00000450" + Pad("", 36) + "99999999999999999999").batch,
              INT_MAX);
    EXPECT_EQ(Args<tarn::UpdateItem>("v00000450" + Pad("", 36) + "-99999999999999999999").batch,
              INT_MIN);
    EXPECT_EQ(Args<tarn::UpdateItem>("v00000450" + Pad("", 36) + "2147483648").batch, INT_MAX);
    EXPECT_EQ(Args<tarn::UpdateItem>("v00000450" + Pad("", 36) + "-2147483648").batch, INT_MIN);
}

TEST(TarnMessageTest, MappingsSplitAtCommasWithTheFlagUpperCased) {
    tarn::AddMapping m = Args<tarn::AddMapping>("MC:\\,\\\\server\\share,y");
    EXPECT_EQ(m.from, "C:\\");
    EXPECT_EQ(m.to, "\\\\server\\share");
    EXPECT_EQ(m.flag, "Y");
    EXPECT_TRUE(m.Reverse());

    // Trailing blanks of the message go; blanks inside the parts stay.
    tarn::AddMapping local = Args<tarn::AddMapping>("MH:\\Scans,/srv/scans ,no   ");
    EXPECT_EQ(local.to, "/srv/scans ");
    EXPECT_EQ(local.flag, "NO");
    EXPECT_FALSE(local.Reverse());

    // The flag is everything after the second comma.
    EXPECT_EQ(Args<tarn::AddMapping>("MC:\\,D:\\,yes,really").flag, "YES,REALLY");
    EXPECT_FALSE(Args<tarn::AddMapping>("MC:\\,D:\\,").Reverse());
    EXPECT_EQ(Args<tarn::AddMapping>("MC:\\,D:\\,").to, "D:\\");
}

TEST(TarnMessageTest, AMappingPartWithoutItsCommaIsEmpty) {
    tarn::AddMapping alone = Args<tarn::AddMapping>("MC:\\");
    EXPECT_EQ(alone.from, "");
    EXPECT_EQ(alone.to, "");
    tarn::AddMapping oneComma = Args<tarn::AddMapping>("MC:\\,\\\\server\\share");
    EXPECT_EQ(oneComma.from, "C:\\");
    EXPECT_EQ(oneComma.to, "");
    EXPECT_EQ(oneComma.flag, "");
    EXPECT_EQ(Args<tarn::AddMapping>("M").from, "");
}

TEST(TarnMessageTest, TheAttachOrEmailAnswerIsKeptWhole) {
    EXPECT_EQ(Args<tarn::AttachOrEmailAnswer>("hReport 00000042  ").message, "hReport 00000042  ");
}

TEST(AttachOrEmailReplyTest, AnAttachGivesTheTextAndTheTargetForThePendingRow) {
    std::optional<AttachOrEmailReply> r = ParseAttachOrEmailReply("A5", "hReport 00000042");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->listIndex, 5);
    EXPECT_TRUE(r->attach);
    EXPECT_EQ(r->attachText, "Report");
    EXPECT_EQ(r->targetId, 42);
    EXPECT_EQ(r->emailText, "");

    // Trailing blanks go before the last 8 characters are counted.
    r = ParseAttachOrEmailReply("A12", "hMonthly report   00000107   ");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->listIndex, 12);
    EXPECT_EQ(r->attachText, "Monthly report");
    EXPECT_EQ(r->targetId, 107);
}

TEST(AttachOrEmailReplyTest, AShortAttachAnswerStillRecordsItsTarget) {
    // Only the target: no text, and the routing record is still due.
    std::optional<AttachOrEmailReply> r = ParseAttachOrEmailReply("A3", "h00000042");
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->attach);
    EXPECT_EQ(r->attachText, "");
    EXPECT_EQ(r->targetId, 42);
    // Fewer than 8 characters: the letter is among them and the number reads 0.
    r = ParseAttachOrEmailReply("A3", "h42");
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->attach);
    EXPECT_EQ(r->targetId, 0);
    // Blanks only: nothing to record.
    r = ParseAttachOrEmailReply("A3", "   ");
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->attach);
    EXPECT_EQ(r->attachText, "");
}

TEST(AttachOrEmailReplyTest, AnEmailTextDropsItsLastNineCharacters) {
    std::optional<AttachOrEmailReply> r =
        ParseAttachOrEmailReply("E3", "hxxxxxjane@example.org   000000042   ");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->listIndex, 3);
    EXPECT_FALSE(r->attach);
    EXPECT_EQ(r->emailText, "jane@example.org");
    EXPECT_EQ(r->attachText, "");
    EXPECT_EQ(r->targetId, 0);

    // Nine characters or fewer after position 6 leave no text, so the column stays as it is.
    EXPECT_EQ(ParseAttachOrEmailReply("E3", "hxxxxx123456789")->emailText, "");
    EXPECT_EQ(ParseAttachOrEmailReply("E3", "h")->emailText, "");
}

TEST(AttachOrEmailReplyTest, EachActionFillsOnlyItsOwnColumn) {
    const std::string answer = "hxxxxxjane@example.org   00000042";
    std::optional<AttachOrEmailReply> attach = ParseAttachOrEmailReply("A1", answer);
    ASSERT_TRUE(attach);
    EXPECT_TRUE(attach->attach);
    EXPECT_EQ(attach->emailText, "");
    std::optional<AttachOrEmailReply> email = ParseAttachOrEmailReply("E1", answer);
    ASSERT_TRUE(email);
    EXPECT_FALSE(email->attach);
    EXPECT_EQ(email->attachText, "");
    EXPECT_NE(email->emailText, "");
    // An action that is neither fills nothing.
    std::optional<AttachOrEmailReply> other = ParseAttachOrEmailReply("a1", answer);
    ASSERT_TRUE(other);
    EXPECT_FALSE(other->attach);
    EXPECT_EQ(other->emailText, "");
}

TEST(AttachOrEmailReplyTest, NoPendingSelectionMeansNoRowIsWritten) {
    EXPECT_FALSE(ParseAttachOrEmailReply("", "hReport 00000042"));
    EXPECT_FALSE(ParseAttachOrEmailReply(std::string_view("\0A5", 3), "hReport 00000042"));
    // A selection without its number is still row 0, as the control stored it.
    std::optional<AttachOrEmailReply> r = ParseAttachOrEmailReply("A", "hReport 00000042");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->listIndex, 0);
    EXPECT_EQ(ParseAttachOrEmailReply("A99999999999", "h00000001")->listIndex, INT_MAX);
}

}  // namespace
}  // namespace orbel
