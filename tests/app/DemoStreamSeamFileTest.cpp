#include "DemoTestSupport.h"

#include "app/DemoEventType.h"
#include "app/DemoFile.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/SafeWrite.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class DemoSeamFile : public LoopTest::DemoFixture {
protected:
    void SetUp() override
    {
        DemoFixture::SetUp();
        mPath = mPlatform->Folders().GetRoot() + "/seam.dmo";
        mApp->mDemoFileName = mPath;
        mApp->mProductVersion = "1.0";
    }
    void TearDown() override
    {
        Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::None);
        DemoFixture::TearDown();
    }

    std::vector<uint8_t> FileBytes()
    {
        std::ifstream in(mPath, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    void WriteFile(const std::vector<uint8_t>& bytes)
    {
        std::ofstream(mPath, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    }
    // A recording of a few events with two markers, saved by the seam.
    void SaveRecording()
    {
        mApp->mRecordingDemo = true;
        mApp->mRandomSeed = 0xCAFE;
        mApp->mDemoMarkers = {{"one", 10}, {"two", 20}};
        DemoSeam().RecordKeyDown(65);
        mApp->mUpdateCount = 33;
        DemoSeam().RecordKeyChar(L'x');
        DemoSeam().WriteDemoFile();
    }

    std::string mPath;
};

TEST_F(DemoSeamFile, AMissingFileIsNamedInTheError)
{
    std::string error;
    EXPECT_FALSE(DemoSeam().ReadDemoFile(error));
    EXPECT_EQ(error, "Demo file not found: " + mPath);
}

TEST_F(DemoSeamFile, ASavedRecordingReadsBackIntoTheDemoFields)
{
    SaveRecording();
    const std::vector<uint8_t> saved = FileBytes();
    const std::vector<uint8_t> stream(mApp->mDemoBuffer.GetData(),
                                      mApp->mDemoBuffer.GetData() + mApp->mDemoBuffer.GetByteSize());

    RemakeApp(std::make_unique<LoopTest::LoopApp>());
    mApp->mDemoFileName = mPath;
    mApp->mProductVersion = "1.0";
    std::string error;
    ASSERT_TRUE(DemoSeam().ReadDemoFile(error)) << error;
    EXPECT_EQ(mApp->mRandomSeed, 0xCAFEu);
    ASSERT_EQ(mApp->mDemoMarkers.size(), 2u);
    EXPECT_EQ(mApp->mDemoMarkers.front().name, "one");
    EXPECT_EQ(mApp->mDemoMarkers.back().update, 20);
    EXPECT_EQ(mApp->mDemoEndUpdate, 33);
    EXPECT_EQ(std::vector<uint8_t>(mApp->mDemoBuffer.GetData(),
                                   mApp->mDemoBuffer.GetData() + mApp->mDemoBuffer.GetByteSize()),
              stream);
    EXPECT_EQ(mApp->mDemoBuffer.GetReadBitPos(), 0);
    EXPECT_EQ(saved.size(), 4 + 4 + 4 + 2 + 3 + 4 + (4 + 2 + 3 + 4 + 2 + 3 + 4) + 4 + stream.size());
}

TEST_F(DemoSeamFile, AnotherProductVersionIsRefused)
{
    SaveRecording();
    mApp->mProductVersion = "2.0";
    std::string error;
    EXPECT_FALSE(DemoSeam().ReadDemoFile(error));
    EXPECT_EQ(error, "This demo file appears to be for '1.0'");
}

TEST_F(DemoSeamFile, AFailedSaveKeepsThePreviousFileAndSaysSoOnTheDebuggerOutputOnly)
{
    const std::vector<uint8_t> previous = {1, 2, 3, 4, 5};
    WriteFile(previous);
    for (auto fault : {Platform::SafeWrite::Fault::Write, Platform::SafeWrite::Fault::Rename}) {
        Platform::SafeWrite::SetFaultForTests(fault);
        SaveRecording();
        EXPECT_EQ(FileBytes(), previous);
    }
    EXPECT_NE(mPlatform->Debug().GetAll().find("The demo could not be saved to " + mPath), std::string::npos);
    EXPECT_TRUE(mPlatform->Dialogs().GetBoxes().empty());
}

} // namespace
