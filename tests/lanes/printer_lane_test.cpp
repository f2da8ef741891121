#include "pauses.h"
#include "printer_lane.h"

#include <QTest>
#include <future>
#include <gtest/gtest.h>

namespace {

class NoPauses final : public Pauses {
public:
    void wait(int) override {}
};

// A printer that serves each job by its kick text: "fail" fails it, "hold" waits until the
// test lets it go; it notes what it served.
class ScriptedPrinter final : public LanePrinter {
public:
    ScriptedPrinter(std::shared_future<void> letGo, std::vector<QByteArray>& served,
                    std::mutex& servedMutex)
        : letGo_(std::move(letGo)), served_(served), servedMutex_(servedMutex) {}

    LaneOutcome serve(const LaneJob& job) override {
        if (job.kick == "hold") {
            letGo_.wait();
        }
        {
            const std::lock_guard lock(servedMutex_);
            served_.push_back(job.kick);
        }
        LaneOutcome outcome;
        if (job.kick == "fail") {
            outcome.result = LaneOutcome::Result::failed;
        }
        return outcome;
    }
    void rest() override {}

private:
    std::shared_future<void> letGo_;
    std::vector<QByteArray>& served_;
    std::mutex& servedMutex_;
};

class PrinterLaneTest : public testing::Test {
protected:
    std::unique_ptr<PrinterLane> makeLane() {
        return std::make_unique<PrinterLane>(
            [this] { return std::make_unique<ScriptedPrinter>(letGo_, served_, servedMutex_); },
            pauses_);
    }
    void hand(PrinterLane& lane, const QByteArray& name) {
        LaneJob job;
        job.kick = name;
        job.done = [this, name](const LaneOutcome& outcome) {
            outcomes_.emplace_back(name, outcome.result);
        };
        lane.hand(std::move(job));
    }
    bool waitForOutcomes(std::size_t count) {
        return QTest::qWaitFor([&] { return outcomes_.size() >= count; }, 5000);
    }

    NoPauses pauses_;
    std::promise<void> release_;
    std::shared_future<void> letGo_ = release_.get_future().share();
    std::mutex servedMutex_;
    std::vector<QByteArray> served_;
    // Touched on the test's own thread only: the outcomes come as queued calls.
    std::vector<std::pair<QByteArray, LaneOutcome::Result>> outcomes_;
};

using Result = LaneOutcome::Result;

} // namespace

TEST_F(PrinterLaneTest, APrinterThatHoldsItsJobHoldsUpNoOtherLane) {
    const std::unique_ptr<PrinterLane> stalled = makeLane();
    const std::unique_ptr<PrinterLane> live = makeLane();
    hand(*stalled, "hold");
    hand(*stalled, "after hold");
    hand(*live, "a");
    hand(*live, "b");
    ASSERT_TRUE(waitForOutcomes(2));
    EXPECT_EQ(outcomes_, (decltype(outcomes_){{"a", Result::done}, {"b", Result::done}}));
    release_.set_value();
    ASSERT_TRUE(waitForOutcomes(4));
    EXPECT_EQ(outcomes_.at(2).first, "hold");
    EXPECT_EQ(outcomes_.at(3).first, "after hold");
}

// The jobs behind a failed one come back untried, so that handing them again keeps their order.
TEST_F(PrinterLaneTest, JobsBehindAFailureAreReturnedUntriedAndLaterJobsRunInOrder) {
    const std::unique_ptr<PrinterLane> lane = makeLane();
    hand(*lane, "hold");
    hand(*lane, "fail");
    hand(*lane, "x");
    hand(*lane, "y");
    release_.set_value();
    ASSERT_TRUE(waitForOutcomes(4));
    hand(*lane, "x");
    ASSERT_TRUE(waitForOutcomes(5));
    EXPECT_EQ(outcomes_, (decltype(outcomes_){{"hold", Result::done},
                                              {"fail", Result::failed},
                                              {"x", Result::returned},
                                              {"y", Result::returned},
                                              {"x", Result::done}}));
    const std::lock_guard lock(servedMutex_);
    EXPECT_EQ(served_, (std::vector<QByteArray>{"hold", "fail", "x"}));
}

// The failure's handler shows a message window, which runs the event loop until it is closed:
// the jobs returned behind the failure must come back meanwhile, or they would wait for the
// operator.
TEST_F(PrinterLaneTest, AHandlerRunningTheEventLoopDoesNotHoldBackTheOutcomesBehindIt) {
    const std::unique_ptr<PrinterLane> lane = makeLane();
    bool returnedWhileShown = false;
    LaneJob failing;
    failing.kick = "fail";
    failing.done = [&](const LaneOutcome&) {
        returnedWhileShown = QTest::qWaitFor([&] { return !outcomes_.empty(); }, 5000);
    };
    hand(*lane, "hold");
    lane->hand(std::move(failing));
    hand(*lane, "behind");
    release_.set_value();
    ASSERT_TRUE(waitForOutcomes(2));
    EXPECT_TRUE(returnedWhileShown);
}
