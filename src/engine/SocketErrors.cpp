// Socket error codes in words: a short text for the report line and a long
// paragraph for the detailed explanation, both from the string table.
#include "LookupState.h"
#include "SocketErrorTable.h"
#include "Texts.h"

namespace {

const SocketErrorRow* FindRow(std::int32_t code) {
    for (const SocketErrorRow& row : kSocketErrorTable)
        if (row.code == code) return &row;
    return nullptr;
}

}  // namespace

void LookupState::DescribeSocketError(std::string* shortText, std::string* longText,
                                      std::int32_t code) const {
    if (const SocketErrorRow* row = FindRow(code)) {
        if (shortText) LoadText(*shortText, row->shortId);
        if (longText) LoadText(*longText, row->longId);
        return;
    }
    if (shortText) *shortText = FormatText(TextOf(kErrorUnknownShort), code);
    if (longText) *longText = FormatText(TextOf(kErrorUnknownLong), code);
}

void LookupState::ReportSocketFailure(const std::string& head, std::int32_t code) {
    std::string shortText, longText;
    DescribeSocketError(&shortText, &longText, code);
    ReportText = head + shortText;
    if (DetailedErrors) {
        LoadText(ScratchText, kDetailedExplanation);
        ReportText += ScratchText + longText;
    }
    LookupFailed = true;
}
