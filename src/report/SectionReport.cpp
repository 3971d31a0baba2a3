#include <algorithm>

#include "NameDecoding.h"
#include "NameMemo.h"
#include "RecordData.h"
#include "Report.h"
#include "ReplyReader.h"
#include "ReportAppend.h"
#include "ReportBatch.h"
#include "QueryTypes.h"
#include "Texts.h"
#include "Wire.h"

namespace {
// Headings of the answer, authority and additional sections.
constexpr TextId kSectionHeadings[] = {kAnswersHeading, kAuthorityHeading, kAdditionalHeading};

void AppendQuestionType(ReportBatch& out, unsigned type) {
    if (const QueryType* known = FindQueryType(type))
        out.PutText(TextOf(known->text));
    else
        AppendFormatted(out, TextOf(kTypeTextUnknown), {type});
}

void AppendQuestionClass(ReportBatch& out, unsigned cls) {
    static const char* const kClasses[] = {"IN (Internet)", "CS (CSNET)", "CH (CHAOS)",
                                           "HS (Hesiod)"};
    if (cls >= 1 && cls <= 4)
        out.PutText(kClasses[cls - 1]);
    else
        AppendFormatted(out, "Unknown (%d)", {cls});
}

// The bytes that belong to the message at buffer: its length prefix + 2, or
// fewer when fewer were received.
std::size_t MessageBytes(const std::uint8_t* buffer, int count) {
    if (count <= 0) return 0;
    const std::size_t size = static_cast<std::size_t>(count);
    const std::size_t announced = wire::AnnouncedSize(buffer, size, 0);
    return announced != 0 ? std::min(announced, size) : size;
}

// Writes one question entry at position and returns the position behind it.
int ReportQuestion(ReportBatch& out, ReplyReader& reply, int position) {
    out.Put('\t');
    const int fixed = AppendName(out, reply, position);
    out.PutText(TextOf(kTypeLabel));
    reply.Seek(static_cast<std::size_t>(fixed));
    const unsigned type = reply.U16();
    const unsigned cls = reply.U16();
    AppendQuestionType(out, type);
    out.Put("  class: ");
    AppendQuestionClass(out, cls);
    return fixed + static_cast<int>(wire::kQuestionFixed);
}

// Reports count records from position on, moving position behind them. A
// record whose bytes run out is taken back from the report and replaced by
// the malformed line; the result is then false.
bool ReportRecords(ReportContext& report, ReportBatch& out, ReplyReader& reply, int& position,
                   unsigned count, TimeToLiveText& ttl) {
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t mark = out.size();
        out.Put('\t');
        const int fixed = AppendName(out, reply, position);
        ReportRecordData(out, reply, fixed, ttl);
        // The next record always follows RDLENGTH, whatever the rendering read.
        reply.Seek(static_cast<std::size_t>(fixed) + wire::kRecordLengthAt);
        reply.Seek(static_cast<std::size_t>(fixed) + wire::kRecordDataAt + reply.U16());
        if (!reply.Ok()) {
            out.Truncate(mark);
            AppendMalformedLine(out);
            return false;
        }
        ++report.recordCount;
        position = static_cast<int>(reply.Pos());
    }
    return true;
}
}  // namespace

void ReportSections(ReportContext& report, const std::uint8_t* buffer, int count) {
    ReportBatch out(report.text);
    ReplyReader reply(buffer, MessageBytes(buffer, count));
    NameMemo names;
    reply.SetNameMemo(&names);
    reply.Seek(wire::kQuestionCountAt);
    const unsigned questions = reply.U16();
    const unsigned sectionCounts[] = {reply.U16(), reply.U16(), reply.U16()};
    if (!reply.Ok()) return AppendMalformedLine(out);

    // A transfer lists no questions, but steps over any that a message
    // carries so that its records are found where they are.
    const bool transfer = report.transfer;
    int position = static_cast<int>(wire::kHeaderEnd);
    if (!transfer && questions != 0) out.PutText(TextOf(kQuestionsHeading));
    std::string skipped;
    for (unsigned i = 0; i < questions; ++i) {
        const std::size_t mark = out.size();
        position = transfer ? AppendName(skipped, reply, position) + static_cast<int>(wire::kQuestionFixed)
                            : ReportQuestion(out, reply, position);
        reply.Seek(static_cast<std::size_t>(position));
        if (!reply.Ok()) {
            out.Truncate(mark);
            return AppendMalformedLine(out);
        }
        skipped.clear();
    }
    if (!transfer) out.Put('\n');

    TimeToLiveText ttl;
    for (int section = 0; section < 3; ++section) {
        // In a transfer only the additional heading is written per message.
        const bool heading = !transfer || section == 2;
        if (heading && sectionCounts[section] != 0)
            out.PutText(TextOf(kSectionHeadings[section]));
        if (!ReportRecords(report, out, reply, position, sectionCounts[section], ttl)) return;
    }
}
