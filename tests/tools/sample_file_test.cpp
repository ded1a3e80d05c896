#include "tools/sound_analysis/sample_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/memory_file_output.h"
#include "tone/wav_writer.h"

namespace {

class SampleFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("drovane-sample-file-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Path(const char* name) const { return (m_dir / name).string(); }
    void WriteBytes(const char* name, const std::vector<unsigned char>& bytes) const {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    std::filesystem::path m_dir;
};

TEST_F(SampleFileTest, ReadsBackWhatTheProgramsWavWriterWrote) {
    const std::vector<float> samples{0.0f, 0.25f, -0.25f, 1e-7f, -1.0f};
    MemoryFileOutput output;
    WavWriter writer(output, 44100);
    ASSERT_TRUE(writer.Write(samples.data(), samples.size()));
    ASSERT_TRUE(writer.Finish());
    std::ofstream(Path("a.wav"), std::ios::binary) << output.bytes;
    SampleFile file;
    std::string error;
    ASSERT_TRUE(ReadSampleFile(Path("a.wav"), 48000, file, error)) << error;
    EXPECT_EQ(file.rate, 44100u);
    EXPECT_EQ(file.samples, samples);
}

TEST_F(SampleFileTest, RawFilesAreFloat32AtTheGivenRateAndIgnoreAPartialFrame) {
    const float values[] = {0.5f, -0.5f};
    std::vector<unsigned char> bytes(sizeof values + 3, 0);
    std::memcpy(bytes.data(), values, sizeof values);
    WriteBytes("r.raw", bytes);
    SampleFile file;
    std::string error;
    ASSERT_TRUE(ReadSampleFile(Path("r.raw"), 32000, file, error));
    EXPECT_EQ(file.rate, 32000u);
    EXPECT_EQ(file.samples, (std::vector<float>{0.5f, -0.5f}));
}

TEST_F(SampleFileTest, BadInputGivesAClearErrorNotACrash) {
    SampleFile file;
    std::string error;
    EXPECT_FALSE(ReadSampleFile(Path("missing.wav"), 48000, file, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;

    // A RIFF header with a chunk size that points far past the end, and no data chunk.
    std::vector<unsigned char> truncated{'R', 'I', 'F', 'F', 0,   0,   0,    0,    'W',  'A',
                                         'V', 'E', 'f', 'm', 't', ' ', 0xFF, 0xFF, 0xFF, 0x7F};
    WriteBytes("t.wav", truncated);
    error.clear();
    EXPECT_FALSE(ReadSampleFile(Path("t.wav"), 48000, file, error));
    EXPECT_FALSE(error.empty());

    // Stereo is refused rather than read as mono at twice the length.
    std::vector<unsigned char> stereo{'R',  'I',  'F', 'F', 0,  0, 0, 0, 'W', 'A', 'V', 'E',
                                      'f',  'm',  't', ' ', 16, 0, 0, 0, 1,   0,   2,   0,
                                      0x80, 0xBB, 0,   0,   0,  0, 0, 0, 4,   0,   16,  0,
                                      'd',  'a',  't', 'a', 4,  0, 0, 0, 1,   0,   2,   0};
    WriteBytes("s.wav", stereo);
    error.clear();
    EXPECT_FALSE(ReadSampleFile(Path("s.wav"), 48000, file, error));
    EXPECT_NE(error.find("mono"), std::string::npos) << error;
}

TEST_F(SampleFileTest, SixteenBitPcmIsScaledToPlusMinusOne) {
    std::vector<unsigned char> pcm{'R',  'I',  'F', 'F', 0,  0, 0, 0, 'W',  'A',  'V',  'E',
                                   'f',  'm',  't', ' ', 16, 0, 0, 0, 1,    0,    1,    0,
                                   0x80, 0xBB, 0,   0,   0,  0, 0, 0, 2,    0,    16,   0,
                                   'd',  'a',  't', 'a', 4,  0, 0, 0, 0x00, 0x40, 0x00, 0x80};
    WriteBytes("p.wav", pcm);
    SampleFile file;
    std::string error;
    ASSERT_TRUE(ReadSampleFile(Path("p.wav"), 44100, file, error)) << error;
    EXPECT_EQ(file.rate, 48000u);
    EXPECT_EQ(file.samples, (std::vector<float>{0.5f, -1.0f}));
}

}  // namespace
