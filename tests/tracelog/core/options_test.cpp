#include "sondrel_gtest.h"

#include "tracelog/P7Options.h"

using tracelog::ClientOptions;
using tracelog::ParseClientOptions;

TEST(TraceOptions, ProgramStringWithSpacedFolderAndUnslashedKey)
{
    // The program's own string: the folder has spaces and "P7.On" lacks its slash.
    ClientOptions o = ParseClientOptions(
        u"/P7.Dir=C:\\users\\Ann Lee\\Application Data\\Quorvane\\Sondrel\\Logs\\ P7.On=0 /P7.Sink=FileBin "
        u"/P7.Pool=32768 /P7.Files=5 /P7.Roll=50mb");
    EXPECT_TRUE(o.directory == u"C:\\users\\Ann Lee\\Application Data\\Quorvane\\Sondrel\\Logs\\");
    EXPECT_TRUE(o.SinkSupported());
    EXPECT_EQ(o.poolBytes, 32768u);
    EXPECT_EQ(o.maxFiles, 5u);
    EXPECT_EQ(o.rollBytes, 50ull * 1024 * 1024);
}

TEST(TraceOptions, QuotesCaseAndMissingSlash)
{
    ClientOptions o = ParseClientOptions(u"-p7.dir=\"D:\\Logs /P7.Files=3 here\" p7.FILES=7 /P7.roll=64KB");
    EXPECT_TRUE(o.directory == u"D:\\Logs /P7.Files=3 here\\");
    EXPECT_EQ(o.maxFiles, 7u);
    EXPECT_EQ(o.rollBytes, 64u * 1024);

    // An unclosed quote runs to the end.
    o = ParseClientOptions(u"/P7.Dir=\"E:\\open ended");
    EXPECT_TRUE(o.directory == u"E:\\open ended\\");
}

TEST(TraceOptions, OddInputKeepsDefaults)
{
    const ClientOptions defaults;
    for (const char16_t* text :
         {u"", u"   ", u"garbage words only", u"/P7.Files= /P7.Roll= /P7.Pool=", u"/P7.Files /P7.Roll",
          u"/P7.Files=-3 /P7.Roll=lots /P7.Pool=12xb", u"/P7.Files=0 /P7.Roll=0",
          u"/P7.Files=99999999999999999999", u"/P7.Unknown=1 /P7.Name=abc /P7.=5 /P7", u"P7.Files"})
    {
        ClientOptions o = ParseClientOptions(text);
        EXPECT_TRUE(o.directory.empty());
        EXPECT_EQ(o.maxFiles, defaults.maxFiles);
        EXPECT_EQ(o.rollBytes, defaults.rollBytes);
        EXPECT_EQ(o.poolBytes, defaults.poolBytes);
        EXPECT_TRUE(o.SinkSupported());
    }
    EXPECT_TRUE(ParseClientOptions(nullptr).directory.empty());
}

TEST(TraceOptions, ValuesAreClampedAndLastWins)
{
    ClientOptions o =
        ParseClientOptions(u"/P7.Files=2 /P7.Files=100000 /P7.Roll=1 /P7.Pool=1gb stray /P7.Dir=X:\\a");
    EXPECT_EQ(o.maxFiles, 4096u);
    EXPECT_EQ(o.rollBytes, 4096u);
    EXPECT_EQ(o.poolBytes, 16u * 1024 * 1024);
    EXPECT_TRUE(o.directory == u"X:\\a\\");

    // Trailing words after a number are not part of it.
    o = ParseClientOptions(u"/P7.Files=3 extra /P7.Roll=2mb junk");
    EXPECT_EQ(o.maxFiles, 3u);
    EXPECT_EQ(o.rollBytes, 2u * 1024 * 1024);
}

TEST(TraceOptions, FolderWordsThatLookLikeOptions)
{
    // Without '/' a key needs '=' to count, so such folder names survive.
    ClientOptions o = ParseClientOptions(u"/P7.Dir=C:\\p7.logs here\\P7.Old files\\ /P7.Files=4");
    EXPECT_TRUE(o.directory == u"C:\\p7.logs here\\P7.Old files\\");
    EXPECT_EQ(o.maxFiles, 4u);
}

TEST(TraceOptions, UnknownSinkIsRefused)
{
    EXPECT_FALSE(ParseClientOptions(u"/P7.Sink=Network").SinkSupported());
    EXPECT_TRUE(ParseClientOptions(u"/P7.Sink=filebin").SinkSupported());
    EXPECT_TRUE(ParseClientOptions(u"/P7.Sink=").SinkSupported());
}

TEST(TraceOptions, ByteSizes)
{
    uint64_t v = 0;
    EXPECT_TRUE(tracelog::ParseByteSize(u"50mb", v));
    EXPECT_EQ(v, 50ull << 20);
    EXPECT_TRUE(tracelog::ParseByteSize(u"3GB", v));
    EXPECT_EQ(v, 3ull << 30);
    EXPECT_TRUE(tracelog::ParseByteSize(u"17", v));
    EXPECT_EQ(v, 17u);
    EXPECT_FALSE(tracelog::ParseByteSize(u"mb", v));
    EXPECT_FALSE(tracelog::ParseByteSize(u"5 mb", v));
    EXPECT_FALSE(tracelog::ParseByteSize(u"5tb", v));
    EXPECT_FALSE(tracelog::ParseByteSize(u"99999999999999999999", v));
}
