#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/logging/loggers.h"
#include "runtime/logging/loglib.h"
#include "support/console_capture.h"

using ::testing::ElementsAre;

namespace {

// What the log library formats for a console.
struct CapturedConsole : vanta::testing::ConsoleCapture {
    CapturedConsole() : ConsoleCapture(/*formatting=*/true) {}
};

}  // namespace

TEST(LoggerRegistry, SameNameSameLoggerUntilCleanupWhichSilencesTheOldOnes) {
    CapturedConsole console;
    logging::Logger& first = logging::getLogger("RegistryTest");
    EXPECT_EQ(&first, &logging::getLogger("RegistryTest"));
    EXPECT_NE(&first, &logging::getLogger("RegistryTest2"));
    EXPECT_EQ(first.getModuleName(), "RegistryTest");
    first.enableDebugLevel(1);
    logging::cleanupLoggers();
    logging::Logger& second = logging::getLogger("RegistryTest");
    EXPECT_NE(&first, &second);

    first.error("late {}", 1);
    first.debug(1, "late");
    EXPECT_FALSE(first.isDebugEnabled(1));
    second.info("new");
    EXPECT_THAT(console.lines(), ElementsAre("RegistryTest I: new\n"));
}

TEST(StreamLogger, PrefixesEachLevelWithModuleNameAndGatesDebugByLevel) {
    CapturedConsole console;
    logging::Logger& logger = logging::getLogger("Levels");
    EXPECT_EQ(logger.debugLevel(), 0);
    logger.debug(1, "hidden");
    logger.error("failed {}", 1);
    logger.warning("odd {}", "thing");
    logger.info("Shutting down {}", "vantaapid");
    logger.enableDebugLevel(2);
    logger.debug(1, "one");
    logger.debug(2, "detail {}", 3.5);
    logger.debug(3, "three");
    logger.enableDebugLevel(0);
    // Long messages are not cut.
    const std::string long_text(2000, 'x');
    logger.info("{}", long_text);
    EXPECT_THAT(console.lines(),
                ElementsAre("Levels ERROR: failed 1\n", "Levels W: odd thing\n",
                            "Levels I: Shutting down vantaapid\n", "Levels[1]: one\n",
                            "Levels[2]: detail 3.5\n", "Levels I: " + long_text + "\n"));
}

TEST(NullLogger, DropsEverything) {
    logging::Logger& null_logger = logging::getNullLogger();
    EXPECT_EQ(&null_logger, &logging::getNullLogger());
    EXPECT_FALSE(null_logger.isDebugEnabled(0));
    CapturedConsole console;
    null_logger.error("nothing {}", 1);
    EXPECT_TRUE(console.lines().empty());
}

TEST(LogLibrary, PrefixChangesMatchInAnyLetterCase) {
    LogCtx* upper = Log_getCtx("VantaApiPrefix");
    LogCtx* lower = Log_getCtx("vantaPrefixLower");
    LogCtx* other = Log_getCtx("OtherPrefix");
    CapturedConsole console;
    Log_enableDebugLevelAll("vanta", 3, console.output());
    EXPECT_EQ(Log_getDebugLevel(upper), 3);
    EXPECT_EQ(Log_getDebugLevel(lower), 3);
    EXPECT_EQ(Log_getDebugLevel(other), 0);
    EXPECT_THAT(console.lines(), ::testing::Contains("  'VantaApiPrefix' is now debug=3\n"));
    EXPECT_THAT(console.lines(),
                ::testing::Not(::testing::Contains("  'OtherPrefix' is now debug=3\n")));

    Log_enableInfoAll("VANTAAPIPREFIX", false, console.output());
    EXPECT_FALSE(Log_infoEnabled(upper));
    EXPECT_TRUE(Log_infoEnabled(lower));
    EXPECT_THAT(console.lines(), ::testing::Contains("  'VantaApiPrefix' info disabled\n"));
    Log_enableDebugLevelAll("vanta", 0, console.output());
    Log_enableInfoAll("vanta", true, console.output());
}

TEST(LogLibrary, ContextsAreFoundByExactName) {
    LogCtx* ctx = Log_getCtx("FindMe");
    EXPECT_EQ(Log_getCtx("FindMe"), ctx);
    EXPECT_EQ(Log_findCtx("FindMe"), ctx);
    EXPECT_EQ(Log_findCtx("findme"), nullptr);
    EXPECT_STREQ(Log_getCtxName(ctx), "FindMe");
    EXPECT_THAT(Log_getCtxNames(), ::testing::Contains("FindMe"));
    EXPECT_FALSE(Log_isDebugEnabled(nullptr, 0));
}

TEST(LogLibrary, ChangedCallbackSeesLevelChanges) {
    LogCtx* ctx = Log_getCtx("Callback");
    int calls = 0;
    Log_setChangedCallback(
        ctx, [](LogCtx*, void* data) { ++*static_cast<int*>(data); }, &calls);
    Log_enableDebugLevel(ctx, 2);
    Log_enableInfo(ctx, false);
    EXPECT_EQ(calls, 2);
    Log_setChangedCallback(ctx, nullptr, nullptr);
}

TEST(ConsoleFunctions, FormatIntoTheGivenOutput) {
    std::string text;
    LogConsoleOutput output;
    output.write = [&text](std::string_view part) { text.append(part); };
    con_out(&output, "%s=%d;", "a", 5);
    con_puts(&output, "b;");
    con_write(&output, "cdef", 2);
    const unsigned char bytes[] = {0x0f, 0xa0};
    con_hexdump(&output, bytes, sizeof(bytes));
    EXPECT_EQ(text, "a=5;b;cd0f a0 ");
}
