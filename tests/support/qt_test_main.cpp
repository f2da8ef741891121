#include <QApplication>
#include <gtest/gtest.h>

namespace {

// ctest reports a binary whose every case that ran was skipped as skipped, not passed; a
// failure always wins.
int exitCodeOf(int gtestResult) {
    const testing::UnitTest& tests = *testing::UnitTest::GetInstance();
    const bool allSkipped =
        tests.test_to_run_count() > 0 && tests.skipped_test_count() == tests.test_to_run_count();
    return gtestResult == 0 && allSkipped ? ALL_SKIPPED_EXIT_CODE : gtestResult;
}

} // namespace

// The Qt application every test binary runs in: widgets, timers and sockets need one.
int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return exitCodeOf(RUN_ALL_TESTS());
}
