// The lines copies of the program hand each other.
#include "app/command/RemoteRequest.h"
#include "app/command/RemoteState.h"

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

using Kind = RemoteRequest::Kind;

TEST(RemoteRequest, EveryRequestAndTheStateReadBackAsWrittenAndOtherAnswersAreRefused)
{
    const std::string longest(kMaxTargetLength, '1');
    const RemoteRequest requests[] = {{Kind::show, {}, {}},
                                      {Kind::quit, {}, {}},
                                      {Kind::state, {}, {}},
                                      {Kind::set, "+0:02", {}},
                                      {Kind::set, {}, 4},
                                      {Kind::set, longest, 3},
                                      {Kind::set, "12/24/2026 18:00:00", 0}};
    for (const RemoteRequest& request : requests) {
        const QByteArray line = request.Encode();
        EXPECT_FALSE(line.contains('\n'));
        const std::optional<RemoteRequest> back = RemoteRequest::Decode(line);
        ASSERT_TRUE(back) << line.toStdString();
        EXPECT_EQ(std::tie(back->kind, back->target, back->unit),
                  std::tie(request.kind, request.target, request.unit));
    }
    // Copies of every version ask "show" and answer "shown".
    EXPECT_EQ(RemoteRequest({Kind::show, {}, {}}).Encode(), "show");
    EXPECT_EQ(ExpectedAnswer(Kind::show), "shown");
    EXPECT_EQ(ExpectedAnswer(Kind::set), "done");

    // The state carries the end to the last bit.
    const RemoteState state{46380.750011574074, 4};
    const std::optional<RemoteState> back = RemoteState::Decode(state.Encode());
    ASSERT_TRUE(back);
    EXPECT_EQ(std::pair(back->end, back->unit), std::pair(state.end, 4));
    for (const QByteArray answer : {"shown", "refused", "state\t46380.75", "state\tnan\t4", "state\t1e400\t4",
                                    "state\t46380.75\tHMS", "status\t46380.75\t4"})
        EXPECT_FALSE(RemoteState::Decode(answer)) << answer.toStdString();
}

TEST(RemoteRequest, MalformedLinesAreRefused)
{
    for (const QByteArray line :
         {"", "Show", "show ", "quit\tnow", "set", "set\t-\t-", "set\t5\t-", "set\t-1\t-", "set\t44\t-",
          "set\t\t+1:00", "set\t1\t", "set\t1\t+1:00\textra", "set\t1\t12/24/2026\x7f"})
        EXPECT_FALSE(RemoteRequest::Decode(line)) << line.toStdString();
    // Too long a target; a carriage return, a NUL.
    for (const QByteArray& line : {"set\t1\t" + QByteArray(kMaxTargetLength + 1, '1'),
                                   QByteArray("set\t1\t+1:00\r", 13), QByteArray("set\t1\t+1\0:00", 12)})
        EXPECT_FALSE(RemoteRequest::Decode(line)) << line.toStdString();
}

} // namespace
