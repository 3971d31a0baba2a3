#pragma once
// The time to live, type tag and data of one record, written into a batch so
// that a message's records share one (LookupState::ReportRecordData writes
// through a batch of its own).
class ReplyReader;
class ReportBatch;

void WriteRecordData(ReportBatch& out, ReplyReader& reply, int position);
