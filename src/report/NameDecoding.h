#pragma once
// The name decoder behind DecodeName, appending straight to its
// output so that the record loop can write names into the report without a
// copy.
#include <string>

class ReplyReader;
class ReportBatch;

// Appends the dotted text of the encoded name at position (an offset into
// the reader's bytes, which begin at the message's length prefix) and
// returns the position behind the encoded name: behind its zero byte, or
// behind its first pointer. Label bytes are copied unchanged, except that a
// zero byte adds nothing.
//
// Compression pointers must lead strictly before the run of labels that
// holds them, and a run reached through a pointer must end before the run
// it was reached from, so a chain can neither loop nor re-read bytes; at most
// kMaxPointerHops pointers are followed. A name that breaks these rules, runs
// past the end of the bytes or overspends the reader's name-text budget sets
// the reader's error; the appended text and the returned position are then
// not to be used.
int AppendName(ReportBatch& out, ReplyReader& reply, int position);
int AppendName(std::string& out, ReplyReader& reply, int position);

constexpr int kMaxPointerHops = 128;
