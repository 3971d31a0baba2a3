#include "LookupState.h"
#include "ReplyReader.h"
#include "ReportAppend.h"
#include "Texts.h"

namespace {
// Length prefix and the fixed DNS header.
constexpr int kHeaderEnd = 14;

// Text ids of the header report.
constexpr int kIncompleteHeader = 515;
constexpr int kReplyWithCount = 516;
constexpr int kReplyTransfer = 517;
constexpr int kOpcodeTexts[] = {518, 519, 520};  // direct, inverse, status
constexpr int kUnknownOpcode = 521;
constexpr int kCounts = 522;
constexpr int kRcodeTexts[] = {534, 535, 536, 537, 538, 539};
constexpr int kUnknownRcode = 561;

void AppendOpcode(std::string& out, unsigned opcode) {
    if (opcode < sizeof kOpcodeTexts / sizeof kOpcodeTexts[0])
        out += TextOf(kOpcodeTexts[opcode]);
    else
        AppendFormatted(out, TextOf(kUnknownOpcode), {opcode});
}

void AppendRcode(std::string& out, unsigned rcode) {
    if (rcode < sizeof kRcodeTexts / sizeof kRcodeTexts[0])
        out += TextOf(kRcodeTexts[rcode]);
    else
        AppendFormatted(out, TextOf(kUnknownRcode), {rcode});
}
}  // namespace

bool LookupState::ReportHeader(const std::uint8_t* buffer, int count) {
    ReplyReader reply(buffer, count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count < kHeaderEnd) {
        ReportText = FormatText(TextOf(kIncompleteHeader), Server.c_str(), count);
        AppendHexDump(ReportText, buffer, reply.size());
        ReportText += "\n\n";
        return false;
    }
    reply.seek(4);
    const std::uint8_t flags = reply.u8();
    const std::uint8_t flags2 = reply.u8();
    const unsigned rcode = flags2 & 0x0F;
    const bool transfer = QueryTypeIndex == kAxfrIndex;

    if (transfer && rcode == 0)
        ReportText = FormatText(TextOf(kReplyTransfer), Server.c_str());
    else
        ReportText = FormatText(TextOf(kReplyWithCount), Server.c_str(), count);
    AppendOpcode(ReportText, (flags >> 3) & 0x0F);
    ReportText += flags & 0x04 ? "authoritative " : "non-authoritative ";
    ReportText += flags & 0x80 ? "answer: " : "question: ";
    ReportText += "recursion ";
    ReportText += flags & 0x01 ? "" : "not ";
    ReportText += "desired; recursion ";
    ReportText += flags2 & 0x80 ? "" : "not ";
    ReportText += "available";
    ReportText += flags & 0x02 ? "; truncated message" : "";
    ReportText += "; result: ";
    AppendRcode(ReportText, rcode);

    if (transfer) {
        ReportText += "\n\n";
    } else {
        ReportText += "\n";
        const unsigned questions = reply.u16(), answers = reply.u16();
        const unsigned authority = reply.u16(), additional = reply.u16();
        AppendFormatted(ReportText, TextOf(kCounts),
                        {questions, answers, authority, additional});
        ReportText += "\n\n";
    }
    return rcode == 0;
}
