#include <gtest/gtest.h>

#include "ReportTestSupport.h"

namespace {
// Transfer messages of the zone "z": flags answer + AA, RCODE as given.
Bytes TransferHeader(std::uint8_t qd, std::uint8_t an, std::uint8_t ar, std::uint8_t rcode = 0) {
    return {0x00, 0x07,        // id
            0x84, rcode,       // flags: answer, authoritative; RCODE
            0x00, qd,          // question count
            0x00, an,          // answer count
            0x00, 0x00,        // authority count
            0x00, ar};         // additional count
}

const Bytes kQuestionZ = {0x01, 'z', 0x00,  // name z (buffer 14)
                          0x00, 0xFC,       // type AXFR
                          0x00, 0x01};      // class IN

// An A record for "z" written out in full (no pointer), TTL 60.
Bytes RecordZ(std::uint8_t last) {
    return {0x01, 'z', 0x00,          // owner z
            0x00, 0x01,               // type A
            0x00, 0x01,               // class IN
            0x00, 0x00, 0x00, 0x3C,   // TTL 60
            0x00, 0x04,               // RDLENGTH
            10, 0, 0, last};          // 10.0.0.last
}

std::string LineZ(int last) { return "\tz\t60 \tA\t10.0.0." + std::to_string(last) + "\n"; }

const char* const kTransferHead =
    "Reply from 127.0.0.1 :\nDirect authoritative answer: recursion not desired; recursion not "
    "available; result: succesful.\n\n> Answers:\n";

std::string Summary(int records, std::size_t bytes) {
    return "\nRecieved " + std::to_string(records) + " records (" + std::to_string(bytes) +
           " bytes) in reply to AXFR request.";
}

// --- Nothing, or a short reply ------------------------------------------------------

TEST(ReceivedOrdinary, NothingReceivedIsAFailure) {
    for (std::int32_t type : {1, static_cast<std::int32_t>(kAxfrIndex)}) {
        ReportState state(type);
        EXPECT_EQ(state.Received({}), "Lookup failed: no data recieved");
        EXPECT_TRUE(state.LookupFailed);
        EXPECT_EQ(state.refreshes, 0);
    }
}

TEST(ReceivedOrdinary, ProgressTextIsShownBeforeDecoding) {
    ReportState state;
    state.RecordCount = 99;
    state.Received(Framed(Concat({TransferHeader(0, 1, 0), RecordZ(1)})));
    EXPECT_EQ(state.refreshes, 1);
    EXPECT_EQ(state.textAtRefresh, "Data recieved, decoding...");
    EXPECT_EQ(state.RecordCount, 1);
    EXPECT_FALSE(state.LookupFailed);
}

TEST(ReceivedOrdinary, ShortReplyIsTheRawDumpAlone) {
    ReportState state;
    EXPECT_EQ(state.Received({0x00, 0x0C, 0x00, 0x07, 0x84}),
              "Reply from 127.0.0.1 : 5 bytes recieved\nheader is incomplete - parsing "
              "skipped\nraw header data dump:\t00 0c 00 07 84 \n\n");
}

TEST(ReceivedOrdinary, OnlyTheFirstMessageIsReported) {
    ReportState state;
    const Bytes two = Stream({Concat({TransferHeader(0, 1, 0), RecordZ(1)}),
                              Concat({TransferHeader(0, 1, 0), RecordZ(2)})});
    EXPECT_EQ(state.Received(two),
              "Reply from 127.0.0.1 : 62 bytes recieved\nDirect authoritative answer: recursion "
              "not desired; recursion not available; result: succesful.\nContains 0 question "
              "entries, 1 answer entries, 0 nameserver records and 0 additional records.\n\n\n"
              "> Answers:\n" + LineZ(1));
}

// --- Zone-transfer walks ------------------------------------------------------------

TEST(ReceivedTransfer, CompleteMessagesThenTheSummary) {
    ReportState state(kAxfrIndex);
    const Bytes stream = Stream({Concat({TransferHeader(1, 2, 0), kQuestionZ, RecordZ(1), RecordZ(2)}),
                                 Concat({TransferHeader(0, 1, 0), RecordZ(3)}),
                                 Concat({TransferHeader(0, 1, 0), RecordZ(4)})});
    EXPECT_EQ(state.Received(stream),
              kTransferHead + LineZ(1) + LineZ(2) + LineZ(3) + LineZ(4) +
                  Summary(4, stream.size()));
    EXPECT_EQ(state.RecordCount, 4);
}

TEST(ReceivedTransfer, BrokenLastMessageIsLeftOutButCountedInBytes) {
    ReportState state(kAxfrIndex);
    Bytes stream = Stream({Concat({TransferHeader(0, 1, 0), RecordZ(1)}),
                           Concat({TransferHeader(0, 1, 0), RecordZ(2)})});
    for (std::size_t cut = 1; cut <= 30; ++cut) {  // 1 to 30 bytes of the second message missing
        const Bytes partial(stream.begin(), stream.end() - static_cast<long>(cut));
        EXPECT_EQ(state.Received(partial), kTransferHead + LineZ(1) + Summary(1, partial.size()))
            << cut;
    }
}

TEST(ReceivedTransfer, FirstMessageIsReportedEvenWhenCutShort) {
    ReportState state(kAxfrIndex);
    Bytes stream = Stream({Concat({TransferHeader(0, 2, 0), RecordZ(1), RecordZ(2)})});
    stream.resize(stream.size() - 3);
    EXPECT_EQ(state.Received(stream),
              kTransferHead + LineZ(1) + MalformedLine() + Summary(1, stream.size()));
}

TEST(ReceivedTransfer, MalformedMessageInTheMiddleEndsOnlyItself) {
    ReportState state(kAxfrIndex);
    Bytes bad = Concat({TransferHeader(0, 2, 0), RecordZ(2), RecordZ(3)});
    bad[12] = 0xC0;  // the second record's owner: a pointer to itself
    bad[13] = 0x1E;
    bad[14] = 0x0F;
    const Bytes stream = Stream({Concat({TransferHeader(0, 1, 0), RecordZ(1)}), bad,
                                 Concat({TransferHeader(0, 1, 0), RecordZ(4)})});
    EXPECT_EQ(state.Received(stream), kTransferHead + LineZ(1) + MalformedLine() + LineZ(4) +
                                          Summary(2, stream.size()));
}

TEST(ReceivedTransfer, AdditionalRecordsInsideTheStreamGetTheirHeading) {
    ReportState state(kAxfrIndex);
    const Bytes stream = Stream({Concat({TransferHeader(0, 1, 1), RecordZ(1), RecordZ(9)}),
                                 Concat({TransferHeader(0, 1, 0), RecordZ(2)})});
    EXPECT_EQ(state.Received(stream), kTransferHead + LineZ(1) + "> Additional information:\n" +
                                          LineZ(9) + LineZ(2) + Summary(3, stream.size()));
}

TEST(ReceivedTransfer, QuestionsInLaterMessagesAreSteppedOver) {
    ReportState state(kAxfrIndex);
    const Bytes stream = Stream({Concat({TransferHeader(1, 1, 0), kQuestionZ, RecordZ(1)}),
                                 Concat({TransferHeader(2, 1, 0), kQuestionZ, kQuestionZ,
                                         RecordZ(2)})});
    EXPECT_EQ(state.Received(stream),
              kTransferHead + LineZ(1) + LineZ(2) + Summary(2, stream.size()));
}

TEST(ReceivedTransfer, EmptyAndHeaderlessMessagesDoNotStopTheWalk) {
    ReportState state(kAxfrIndex);
    const Bytes stream = Concat({Stream({Concat({TransferHeader(0, 1, 0), RecordZ(1)})}),
                                 {0x00, 0x00},                 // an empty message
                                 Stream({Concat({TransferHeader(0, 1, 0), RecordZ(2)})})});
    EXPECT_EQ(state.Received(stream), kTransferHead + LineZ(1) + MalformedLine() + LineZ(2) +
                                          Summary(2, stream.size()));
}

TEST(ReceivedTransfer, RefusedTransferIsOneMessageWithoutSummary) {
    ReportState state(kAxfrIndex);
    const Bytes refused = Framed(Concat({TransferHeader(1, 0, 0, 5), kQuestionZ}));
    EXPECT_EQ(state.Received(refused),
              "Reply from 127.0.0.1 : 21 bytes recieved\nDirect authoritative answer: recursion "
              "not desired; recursion not available; result: refused due to policy reasons.\n\n");
    EXPECT_EQ(state.RecordCount, 0);
}

TEST(ReceivedTransfer, RefusedTransferWithRecordsListsThemWithoutHeadings) {
    ReportState state(kAxfrIndex);
    const Bytes refused = Framed(Concat({TransferHeader(1, 1, 0, 9), kQuestionZ, RecordZ(5)}));
    const std::string report = state.Received(refused);
    EXPECT_EQ(report.substr(report.find("unknown error (9).")),
              "unknown error (9).\n\n" + LineZ(5));
}
}  // namespace
