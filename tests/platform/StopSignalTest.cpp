// SIGTERM, SIGINT and SIGHUP as a request to end the run: the flag, the second
// signal's default action, restarted system calls, a signal ignored at start,
// and the copies of the program (message boxes) that the signal ends.
#include "platform/StopSignal.h"

#include "tests/platform/WaitingCopy.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace Lumo::Platform {
namespace {

// Puts the two signals' actions back as they were.
class SavedSignals
{
public:
    SavedSignals()
    {
        sigaction(SIGTERM, nullptr, &mTerm);
        sigaction(SIGINT, nullptr, &mInt);
        sigaction(SIGHUP, nullptr, &mHup);
    }
    ~SavedSignals()
    {
        sigaction(SIGTERM, &mTerm, nullptr);
        sigaction(SIGINT, &mInt, nullptr);
        sigaction(SIGHUP, &mHup, nullptr);
        ClearStopSignal();
    }

private:
    struct sigaction mTerm = {};
    struct sigaction mInt = {};
    struct sigaction mHup = {};
};

struct sigaction ActionOf(int signalNumber)
{
    struct sigaction action = {};
    sigaction(signalNumber, nullptr, &action);
    return action;
}

TEST(StopSignal, ASignalRaisesTheFlagAndAnIgnoredOneStaysIgnored)
{
    const SavedSignals saved;
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_IGN); // as a shell starts a background job
    ClearStopSignal();
    InstallStopSignalHandlers();

    EXPECT_EQ(ActionOf(SIGINT).sa_handler, SIG_IGN);
    const struct sigaction term = ActionOf(SIGTERM);
    ASSERT_NE(term.sa_handler, SIG_DFL);
    EXPECT_NE(term.sa_flags & SA_RESTART, 0) << "a read in another thread must not fail with EINTR";

    EXPECT_FALSE(StopSignalReceived());
    std::raise(SIGTERM);
    EXPECT_TRUE(StopSignalReceived());
    EXPECT_EQ(ActionOf(SIGTERM).sa_handler, SIG_DFL) << "a second signal ends the process";
    ClearStopSignal();
    EXPECT_FALSE(StopSignalReceived());

    // Not ignored at start: caught.
    std::signal(SIGINT, SIG_DFL);
    InstallStopSignalHandlers();
    std::raise(SIGINT);
    EXPECT_TRUE(StopSignalReceived());

    // A hang-up ignored at start (nohup) stays ignored.
    ClearStopSignal();
    std::signal(SIGHUP, SIG_IGN);
    InstallStopSignalHandlers();
    EXPECT_EQ(ActionOf(SIGHUP).sa_handler, SIG_IGN);
    std::raise(SIGHUP);
    EXPECT_FALSE(StopSignalReceived());

    // Otherwise it is caught, and stays caught: a closing terminal's second
    // hang-up must not end the run before it has saved.
    std::signal(SIGHUP, SIG_DFL);
    InstallStopSignalHandlers();
    std::raise(SIGHUP);
    EXPECT_TRUE(StopSignalReceived());
    ASSERT_NE(ActionOf(SIGHUP).sa_handler, SIG_DFL);
    std::raise(SIGHUP);
    EXPECT_TRUE(StopSignalReceived());
}

// A forked copy of the program (an X message box) never polls the flag: a
// stop signal ends it as if nothing were caught, while the program itself
// still only raises its flag.
TEST(StopSignal, AForkedCopyTakesTheDefaultAction)
{
    const SavedSignals saved;
    for (const int signalNumber : {SIGTERM, SIGHUP})
    {
        std::signal(signalNumber, SIG_DFL);
        ClearStopSignal();
        InstallStopSignalHandlers();
        const pid_t copy = fork();
        if (copy == 0)
        {
            std::raise(signalNumber);
            std::_Exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(copy, &status, 0), copy);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << signalNumber << ": " << status;
        EXPECT_FALSE(StopSignalReceived());
        std::raise(signalNumber);
        EXPECT_TRUE(StopSignalReceived()) << signalNumber;
    }
}

// A copy of the program showing a message box keeps the thread that waits for
// its answer from ending the run: the signal goes on to every process the
// program made, and a copy made once the signal came ends at once.
TEST(StopSignal, TheSignalEndsTheProgramsCopiesAndNoNewCopyOutlivesIt)
{
    const SavedSignals saved;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
    {
        SCOPED_TRACE(signalNumber);
        std::signal(signalNumber, SIG_DFL);
        ClearStopSignal();
        InstallStopSignalHandlers();
        const pid_t before = Testing::ForkAWaitingCopy();
        ASSERT_GT(before, 0);
        std::raise(signalNumber);
        EXPECT_TRUE(StopSignalReceived());
        EXPECT_TRUE(Testing::EndedBySignal(before, signalNumber));

        const pid_t after = Testing::ForkAWaitingCopy();
        ASSERT_GT(after, 0);
        EXPECT_TRUE(Testing::EndedBySignal(after, signalNumber));

        // Once the flag is cleared, copies live as they would.
        ClearStopSignal();
        const pid_t cleared = fork();
        if (cleared == 0)
            std::_Exit(7);
        int status = 0;
        ASSERT_EQ(waitpid(cleared, &status, 0), cleared);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7) << "status " << status;
    }
}

} // namespace
} // namespace Lumo::Platform
