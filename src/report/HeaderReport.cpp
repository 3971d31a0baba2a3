#include "LookupState.h"
#include "ReplyReader.h"
#include "ReportAppend.h"
#include "Texts.h"
#include "Wire.h"

namespace {
constexpr TextId kOpcodeTexts[] = {kOpcodeDirect, kOpcodeInverse, kOpcodeStatus};
constexpr TextId kRcodeTexts[] = {kRcodeSuccess,    kRcodeFormatError,    kRcodeServerFailure,
                                  kRcodeNameError,  kRcodeNotImplemented, kRcodeRefused};

void AppendOpcode(std::string& out, unsigned opcode) {
    if (opcode < sizeof kOpcodeTexts / sizeof kOpcodeTexts[0])
        out += TextOf(kOpcodeTexts[opcode]);
    else
        AppendFormatted(out, TextOf(kOpcodeUnknown), {opcode});
}

void AppendRcode(std::string& out, unsigned rcode) {
    if (rcode < sizeof kRcodeTexts / sizeof kRcodeTexts[0])
        out += TextOf(kRcodeTexts[rcode]);
    else
        AppendFormatted(out, TextOf(kRcodeUnknown), {rcode});
}
}  // namespace

bool LookupState::ReportHeader(const std::uint8_t* buffer, int count) {
    ReplyReader reply(buffer, count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count < static_cast<int>(wire::kHeaderEnd)) {
        ReportText = FormatText(TextOf(kIncompleteHeader), Server.c_str(), count);
        AppendHexDump(ReportText, buffer, reply.size());
        ReportText += "\n\n";
        return false;
    }
    reply.seek(wire::kFlagsAt);
    const std::uint8_t flags = reply.u8();
    const std::uint8_t flags2 = reply.u8();
    const unsigned rcode = flags2 & wire::kRcodeMask;
    const bool transfer = QueryTypeIndex == kAxfrIndex;

    if (transfer && rcode == 0)
        ReportText = FormatText(TextOf(kReplyTransfer), Server.c_str());
    else
        ReportText = FormatText(TextOf(kReplyWithCount), Server.c_str(), count);
    AppendOpcode(ReportText, (flags >> wire::kOpcodeShift) & wire::kOpcodeMask);
    ReportText += flags & wire::kFlagAuthoritative ? "authoritative " : "non-authoritative ";
    ReportText += flags & wire::kFlagAnswer ? "answer: " : "question: ";
    ReportText += "recursion ";
    ReportText += flags & wire::kFlagRecursionDesired ? "" : "not ";
    ReportText += "desired; recursion ";
    ReportText += flags2 & wire::kFlagRecursionAvailable ? "" : "not ";
    ReportText += "available";
    ReportText += flags & wire::kFlagTruncated ? "; truncated message" : "";
    ReportText += "; result: ";
    AppendRcode(ReportText, rcode);

    if (transfer) {
        ReportText += "\n\n";
    } else {
        ReportText += "\n";
        const unsigned questions = reply.u16(), answers = reply.u16();
        const unsigned authority = reply.u16(), additional = reply.u16();
        AppendFormatted(ReportText, TextOf(kSectionCounts),
                        {questions, answers, authority, additional});
        ReportText += "\n\n";
    }
    return rcode == 0;
}
