// A process killed while it holds the log segment's lock must not hang every
// later opener of the segment (the daemon at its first log line, the log
// reader): they give up after a bounded wait.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <gtest/gtest.h>

// The same locking configuration as the log queue itself, so that both
// compile the segment's lock alike.
#define BOOST_INTERPROCESS_ENABLE_TIMEOUT_WHEN_LOCKING
#define BOOST_INTERPROCESS_TIMEOUT_WHEN_LOCKING_DURATION_MS 2000
#include <boost/interprocess/managed_shared_memory.hpp>

#include "runtime/logging/logtask.h"

namespace {

using logging::logtask::LogQueues;

TEST(LogQueueDeadOwner, OpeningFailsInsteadOfWaitingForever) {
    const std::string name = "vanta_test_dead_owner";
    LogQueues::remove(name);
    { LogQueues created(name); }

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        boost::interprocess::managed_shared_memory segment(boost::interprocess::open_only,
                                                           name.c_str());
        auto die_holding_the_lock = [] { raise(SIGKILL); };
        segment.atomic_func(die_holding_the_lock);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_ANY_THROW(LogQueues{name});
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    LogQueues::remove(name);
}

}  // namespace
