#include "ReplyReader.h"
#include "Report.h"
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

bool ReportHeader(ReportContext& report, const std::uint8_t* buffer, int count) {
    std::string& text = report.text;
    ReplyReader reply(buffer, count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count < static_cast<int>(wire::kHeaderEnd)) {
        text = FormatText(TextOf(kIncompleteHeader), report.server.c_str(), count);
        AppendHexDump(text, buffer, reply.size());
        text += "\n\n";
        return false;
    }
    reply.Seek(wire::kFlagsAt);
    const std::uint8_t flags = reply.U8();
    const std::uint8_t flags2 = reply.U8();
    const unsigned rcode = flags2 & wire::kRcodeMask;

    if (report.transfer && rcode == 0)
        text = FormatText(TextOf(kReplyTransfer), report.server.c_str());
    else
        text = FormatText(TextOf(kReplyWithCount), report.server.c_str(), count);
    AppendOpcode(text, (flags >> wire::kOpcodeShift) & wire::kOpcodeMask);
    text += flags & wire::kFlagAuthoritative ? "authoritative " : "non-authoritative ";
    text += flags & wire::kFlagAnswer ? "answer: " : "question: ";
    text += "recursion ";
    text += flags & wire::kFlagRecursionDesired ? "" : "not ";
    text += "desired; recursion ";
    text += flags2 & wire::kFlagRecursionAvailable ? "" : "not ";
    text += "available";
    text += flags & wire::kFlagTruncated ? "; truncated message" : "";
    text += "; result: ";
    AppendRcode(text, rcode);

    if (report.transfer) {
        text += "\n\n";
    } else {
        text += "\n";
        const unsigned questions = reply.U16(), answers = reply.U16();
        const unsigned authority = reply.U16(), additional = reply.U16();
        AppendFormatted(text, TextOf(kSectionCounts),
                        {questions, answers, authority, additional});
        text += "\n\n";
    }
    return rcode == 0;
}
