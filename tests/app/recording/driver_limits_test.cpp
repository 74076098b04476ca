// The driver's limits at their exact edges: the free space that warns once
// and the space below which writing ends, and the size and duration at
// which a file is split. A disk is not filled for this: the free space is
// told to the driver.
#include "recording_test_support.h"

using namespace app_test;

namespace {

class CLimitsConverter : public CFormatsConverterEx
{
public:
    using CFormatsConverterEx::CheckDiskSpace;
    using CFormatsConverterEx::CopyCycle;
    using CFormatsConverterEx::IsSplitDue;
    using CFormatsConverterEx::m_dDurationLimit;
    using CFormatsConverterEx::m_dEstimateLimit;
    using CFormatsConverterEx::m_nSizeLimit;
    using CFormatsConverterEx::m_nSplitByDuration;
    using CFormatsConverterEx::m_nSplitByEstimate;
    using CFormatsConverterEx::m_nSplitBySize;
    using CFormatsConverterEx::m_strOutputFileName;
    using CFormatsConverterEx::ReadSplitSettings;

    // Each query takes the next answer; the last one stands after that.
    std::vector<unsigned long long> m_free;
    mutable size_t m_nQueries = 0;
    mutable std::vector<BOOL> m_driveOnly;

    BOOL QueryFreeSpace(ULONGLONG* pnBytes, BOOL bDriveOnly) const override
    {
        m_driveOnly.push_back(bDriveOnly);
        *pnBytes = m_free[std::min(m_nQueries++, m_free.size() - 1)];
        return TRUE;
    }
};

// Answers the low-space warning with a stop, as a user's No would.
class CStoppingSink : public CTestSink
{
public:
    HRESULT OnError(LONG nCode, LONG nDetail, VARIANT_BOOL* pbStop) override
    {
        CTestSink::OnError(nCode, nDetail, pbStop);
        *pbStop = VARIANT_TRUE;
        return 0;
    }
};

constexpr ULONGLONG kWarnBelow = 104857600;  // 100 MiB
constexpr ULONGLONG kEndBelow = 5242880;     // 5 MiB

TEST_F(ComTest, TheDiskWarnsOnceBelowAHundredMegabytesAndEndsBelowFive)
{
    {
        SCOPED_TRACE("exactly 100 MiB free is enough");
        CTestSink sink;
        CLimitsConverter converter;
        converter.SetEvents(&sink);
        converter.m_free = {kWarnBelow};
        EXPECT_TRUE(converter.CheckDiskSpace());
        EXPECT_TRUE(sink.m_errors.empty());
    }
    {
        SCOPED_TRACE("one byte less warns once, with the whole MiB left");
        CTestSink sink;
        CLimitsConverter converter;
        converter.SetEvents(&sink);
        converter.m_free = {kWarnBelow - 1};
        EXPECT_TRUE(converter.CheckDiskSpace());
        EXPECT_TRUE(converter.CheckDiskSpace());
        ASSERT_EQ(sink.m_errors.size(), 1u);
        EXPECT_EQ(sink.m_errors[0], std::make_pair(LONG(CONVERTER_ERROR_LOW_DISK_SPACE), LONG(99)));
        EXPECT_EQ(converter.m_nQueries, 2u) << "no second look while 5 MiB are left";
    }
    {
        SCOPED_TRACE("exactly 5 MiB still writes on after the one warning");
        CTestSink sink;
        CLimitsConverter converter;
        converter.SetEvents(&sink);
        converter.m_free = {kEndBelow};
        EXPECT_TRUE(converter.CheckDiskSpace());
        EXPECT_TRUE(converter.CheckDiskSpace());
        ASSERT_EQ(sink.m_errors.size(), 1u);
        EXPECT_EQ(sink.m_errors[0].second, 5);
    }
    {
        SCOPED_TRACE("below 5 MiB every cycle warns and the drive is asked again");
        CTestSink sink;
        CLimitsConverter converter;
        converter.SetEvents(&sink);
        // Freed in the meantime to exactly 5 MiB: writing goes on.
        converter.m_free = {kEndBelow - 1, kEndBelow};
        EXPECT_TRUE(converter.CheckDiskSpace());
        ASSERT_EQ(converter.m_driveOnly.size(), 2u);
        EXPECT_FALSE(converter.m_driveOnly[0]);
        EXPECT_TRUE(converter.m_driveOnly[1]);
        // Still a byte short: the pass ends.
        converter.m_free = {kEndBelow - 1};
        converter.m_nQueries = 0;
        EXPECT_FALSE(converter.CheckDiskSpace());
        ASSERT_EQ(sink.m_errors.size(), 2u);
        EXPECT_EQ(sink.m_errors[0], std::make_pair(LONG(CONVERTER_ERROR_LOW_DISK_SPACE), LONG(4)));
        EXPECT_EQ(sink.m_errors[1].second, 4);
    }
    {
        SCOPED_TRACE("a stop given to the warning ends at once");
        CStoppingSink sink;
        CLimitsConverter converter;
        converter.SetEvents(&sink);
        converter.m_free = {kWarnBelow - 1};
        EXPECT_FALSE(converter.CheckDiskSpace());
        CStoppingSink below;
        CLimitsConverter second;
        second.SetEvents(&below);
        second.m_free = {kEndBelow - 1, kWarnBelow};
        EXPECT_FALSE(second.CheckDiskSpace());
        EXPECT_EQ(second.m_nQueries, 1u) << "no second look after a stop";
    }
}

// The limits come from the job as the recording dialog sets them: the
// size in kilobytes of 1024 bytes (the split list's smallest and largest
// entries, 0.25 and 256 Mb), the duration in ms.
TEST_F(ComTest, AFileIsSplitOnlyOnceItsSizeAndTheMarginPassTheLimit)
{
    ScratchFolder folder;
    const std::string strFile = folder.unix + "/part.mp3";
    auto sizeFile = [&](long long nBytes) {
        ASSERT_EQ(RunShell("truncate -s " + std::to_string(nBytes) + " '" + strFile + "'"), 0);
    };
    CTestSink sink;
    CLimitsConverter converter;
    converter.SetEvents(&sink);
    converter.SetSizeMargin(32768);
    converter.m_strOutputFileName = folder.windows + _T("part.mp3");
    CLimitsConverter::CopyCycle cycle;
    CEngineRef<IMediaConversionJob5> job;
    ASSERT_EQ(S_OK, CreateEngineObject(CLSID_MediaConversionJob5, IID_IMediaConversionJob5, job));
    auto readJob = [&](LONG nFlags, LONG nKilobytes, double dDurationMs) {
        job->SetSplitFlags(nFlags);
        job->SetSplitSize(nKilobytes);
        job->SetDurationLimit(dDurationMs);
        converter.ReadSplitSettings(job.Get());
    };

    for (LONG nKilobytes : {256, 262144})
    {
        SCOPED_TRACE(nKilobytes);
        readJob(MEDIA_SPLIT_BY_SIZE, nKilobytes, 0);
        sizeFile(nKilobytes * 1024LL - 32768);
        EXPECT_FALSE(converter.IsSplitDue(cycle, 0, 1)) << "size and margin exactly at the limit";
        sizeFile(nKilobytes * 1024LL - 32768 + 1);
        EXPECT_TRUE(converter.IsSplitDue(cycle, 0, 1));
    }
    // The default margin is a MiB.
    CLimitsConverter fresh;
    EXPECT_EQ(fresh.GetSizeMargin(), 1048576);

    // Durations split 250 ms before their limit: nothing written yet is
    // exactly 250 ms short of a 250-ms limit.
    readJob(MEDIA_SPLIT_BY_DURATION, 0, 250);
    EXPECT_FALSE(converter.IsSplitDue(cycle, 0, 1));
    readJob(MEDIA_SPLIT_BY_DURATION, 0, 249.999);
    EXPECT_TRUE(converter.IsSplitDue(cycle, 0, 1));
    converter.m_nSplitByDuration = 0;
    converter.m_nSplitByEstimate = 1;
    converter.m_dEstimateLimit = 250;
    // The check runs only with a split by size or by duration on.
    converter.m_nSplitBySize = 1;
    converter.m_nSizeLimit = 1 << 30;
    EXPECT_FALSE(converter.IsSplitDue(cycle, 0, 1));
    converter.m_dEstimateLimit = 249.999;
    EXPECT_TRUE(converter.IsSplitDue(cycle, 0, 1));
}

}  // namespace
