// The work unit description: position arithmetic, date and frequency texts, file failures and row cells.
#include <gtest/gtest.h>

#include <string>

#include "core/analysis/work_unit_info.h"
#include "client_files_fake.h"

namespace
{

const std::string kTimeRecorded = "2451741.43877 (Sat Jul 15 22:31:54 2000)";
const std::string kWorkUnit = "type=work_unit\nstart_ra=17.5312\nstart_dec=-1.2345\ntime_recorded=" + kTimeRecorded +
                              "\nsubband_base=1419726562.5\nangle_range=0.427\n";

Location Home()
{
    Location location;
    location.path = "C:\\seti";
    location.shortName = "Home";
    location.colour = 255;
    return location;
}

class WorkUnitInfoTest : public ::testing::Test
{
protected:
    WorkUnitInfo Describe() { return DescribeWorkUnit(Home(), files, status); }
    void Put(const char* name, const std::string& text) { files.files[std::string("C:\\seti\\") + name] = text; }

    MemoryClientFiles files;
    LatestStatus status;
};

} // namespace

TEST(WorkUnitInfoText, PositionPartsAreTruncatedProducts)
{
    struct Case {
        double ra;
        double dec;
        const char* text;
    };
    const Case cases[] = {
        {12.25, 22.123, "12 hr 15 min 0 sec RA, + 22 deg 7 min 22 sec Dec"},
        {17.5312, -1.2345, "17 hr 31 min 52 sec RA, + -1 deg -14 min -4 sec Dec"},
        {2.75, -0.5, "2 hr 44 min 59 sec RA, + 0 deg -30 min 0 sec Dec"},
        {0, 0, "0 hr 0 min 0 sec RA, + 0 deg 0 min 0 sec Dec"},
        {23.999, -89.99, "23 hr 59 min 56 sec RA, + -89 deg -59 min -23 sec Dec"},
        // Damaged values saturate instead of overflowing the integer parts.
        {1e300, -1e300, "2147483647 hr 0 min 0 sec RA, + -2147483648 deg 0 min 0 sec Dec"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PositionText(c.ra, c.dec), c.text) << c.ra << " " << c.dec;
}

TEST(WorkUnitInfoText, BaseFrequency)
{
    EXPECT_EQ(BaseFrequencyText(1419726562.5), "1.419726563 GHz");
    EXPECT_EQ(BaseFrequencyText(1418554687.5), "1.418554688 GHz");
    EXPECT_EQ(BaseFrequencyText(0), "0.000000000 GHz");
}

TEST(WorkUnitInfoText, RecordedOnSkipsTwoCharactersAndDropsTheLast)
{
    struct Case {
        const char* value;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {"2451741.43877 (Sat Jul 15 22:31:54 2000)", "Sat Jul 15 22:31:54 2000"},
        {"  2451741.43877 (Sat Jul 15 22:31:54 2000)", "Sat Jul 15 22:31:54 2000"},
        {"2451741.43877  (Sat Jul 15 22:31:54 2000)", "(Sat Jul 15 22:31:54 2000"}, // two blanks
        {"2451741.43877 (Sat Jul 15 22:31:54 2000)\r", "Sat Jul 15 22:31:54 2000"}, // CR LF file
        {"2451741.43877", std::nullopt},
        {"", std::nullopt},
        {"2451741.4 (", ""}, // too short for both ends: empty, never out of bounds
        {"2451741.4 ", ""},
        {"2451741.4 (x", ""},
        {"2451741.4 (xy", "x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordedOnText(c.value), c.text) << '"' << c.value << '"';
}

TEST_F(WorkUnitInfoTest, CompleteWorkUnit)
{
    Put("user_info.sah", "name=bob\n");
    Put("work_unit.sah", kWorkUnit);
    const WorkUnitInfo info = Describe();
    EXPECT_EQ(info.shortName, "Home");
    EXPECT_EQ(info.position, "17 hr 31 min 52 sec RA, + -1 deg -14 min -4 sec Dec");
    EXPECT_EQ(info.recordedOn, "Sat Jul 15 22:31:54 2000");
    EXPECT_EQ(info.recordedOnKey, kTimeRecorded);
    EXPECT_EQ(info.source, "Arecibo Radio Observatory");
    EXPECT_EQ(info.baseFrequency, "1.419726563 GHz");
    EXPECT_EQ(info.angleRange, "0.427");
    EXPECT_EQ(info.rightAscension, 17.5312);
    EXPECT_EQ(info.declination, -1.2345);
    EXPECT_EQ(info.colour, 255);
    EXPECT_EQ(status.Count(), 0);

    ListRow row(kDataInfoCellCount);
    FillDataInfoRow(info, row);
    EXPECT_EQ(row.Text(kDataLocation), "Home");
    EXPECT_EQ(row.Text(kDataRecordedOn), "Sat Jul 15 22:31:54 2000");
    EXPECT_EQ(row.Kind(kDataRecordedOn), kNumberCell);
    EXPECT_EQ(row.Second(kDataRecordedOn), "2451741.43877152231542000");
    EXPECT_EQ(row.Kind(kDataSource), kTextCell);
    EXPECT_EQ(row.Kind(kDataBaseFrequency), kNumberCell);
    EXPECT_EQ(row.Text(kDataRightAscension), "17.5312");
    EXPECT_EQ(row.Text(kDataDeclination), "-1.2345");
    EXPECT_EQ(row.Text(kDataColour), "255");

    const SkyPoint point = SkyPointOfDataInfoRow(row);
    EXPECT_STREQ(point.name, "Home");
    EXPECT_STREQ(point.recordedOn, "Sat Jul 15 22:31:54 2000");
    EXPECT_EQ(point.colour, 255);
    EXPECT_EQ(point.rightAscension, 17.5312);
    EXPECT_EQ(point.declination, -1.2345);
}

TEST_F(WorkUnitInfoTest, MissingKeysStopAtTheirStep)
{
    struct Case {
        const char* name;
        std::string text;
        bool position, recorded, base, angle, numbers;
        const char* message; // the status line afterwards ("" for none)
    };
    const std::string noStartRa = std::string(4100, ' ') + kWorkUnit; // every key beyond byte 4096
    const Case cases[] = {
        {"start_ra beyond the header", noStartRa, false, false, false, false, false,
         "Could not find \"start_ra=\" in file."},
        {"no start_dec", "start_ra=1\n", false, false, false, false, false, "Could not find \"start_dec=\" in file."},
        {"no time_recorded", "start_ra=1\nstart_dec=2\nsubband_base=1e9\nangle_range=1\n", true, false, true, true,
         true, "Could not find \"time_recorded=\" in file."},
        {"no subband_base", "start_ra=1\nstart_dec=2\ntime_recorded=" + kTimeRecorded + "\nangle_range=1\n", true, true,
         false, false, false, "Could not find \"subband_base=\" in file."},
        {"no angle_range", "start_ra=1\nstart_dec=2\nsubband_base=1e9\n", true, false, true, false, true,
         "Could not find \"angle_range=\" in file."},
        {"empty work unit", "", false, false, false, false, false, "Could not find \"start_ra=\" in file."},
        {"unended last line", "start_ra=1\nstart_dec=2", false, false, false, false, false,
         "Could not find end of \"start_dec=\" in file."},
    };
    for (const Case& c : cases) {
        Put("user_info.sah", "name=bob\n");
        Put("work_unit.sah", c.text);
        status = LatestStatus();
        const WorkUnitInfo info = Describe();
        EXPECT_EQ(info.shortName, "Home") << c.name;
        EXPECT_EQ(info.position.has_value(), c.position) << c.name;
        EXPECT_EQ(info.source.has_value(), c.position) << c.name; // set whenever the position is
        EXPECT_EQ(info.recordedOn.has_value(), c.recorded) << c.name;
        EXPECT_EQ(info.baseFrequency.has_value(), c.base) << c.name;
        EXPECT_EQ(info.angleRange.has_value(), c.angle) << c.name;
        EXPECT_EQ(info.rightAscension.has_value(), c.numbers) << c.name;
        EXPECT_EQ(info.colour.has_value(), c.numbers) << c.name;
        EXPECT_EQ(status.Text(), c.message) << c.name;
    }
}

TEST_F(WorkUnitInfoTest, FileFailuresLeaveOnlyTheShortName)
{
    struct Case {
        const char* name;
        const char* failingFile; // nullptr: the user file is missing
        FileReadStatus failure;
        const char* message;
    };
    const Case cases[] = {
        {"missing user_info.sah", nullptr, FileReadStatus::OpenFailed,
         "Error #2.  The system cannot find the file specified. C:\\seti\\user_info.sah"},
        {"user_info.sah in use", "user_info.sah", FileReadStatus::SharingViolation, ""},
        {"empty user_info.sah", "user_info.sah", FileReadStatus::Empty, "user_info.sah file is empty"},
        {"user_info.sah unreadable", "user_info.sah", FileReadStatus::ReadFailed, "Error reading user_info.sah"},
        {"no memory", "user_info.sah", FileReadStatus::OutOfMemory, "Out of memory"},
        {"work_unit.sah in use", "work_unit.sah", FileReadStatus::SharingViolation, ""},
        {"work_unit.sah unreadable", "work_unit.sah", FileReadStatus::ReadFailed, "Error reading work_unit.sah"},
        {"work_unit.sah won't open", "work_unit.sah", FileReadStatus::OpenFailed,
         "Error #32.  In use. C:\\seti\\work_unit.sah"},
    };
    for (const Case& c : cases) {
        files = MemoryClientFiles();
        status = LatestStatus();
        Put("work_unit.sah", kWorkUnit);
        if (c.failingFile) {
            Put("user_info.sah", "name=bob\n");
            files.failures[std::string("C:\\seti\\") + c.failingFile] = c.failure;
        }
        const WorkUnitInfo info = Describe();
        EXPECT_EQ(info.shortName, "Home") << c.name;
        EXPECT_FALSE(info.position || info.recordedOn || info.source || info.baseFrequency || info.angleRange ||
                     info.rightAscension || info.declination || info.colour)
            << c.name;
        EXPECT_EQ(status.Text(), c.message) << c.name;
        EXPECT_EQ(status.Count(), c.message[0] ? 1 : 0) << c.name;
    }
}

TEST(SkyPointTest, TextsAreCutToTheirFields)
{
    ListRow row(kDataInfoCellCount);
    row.SetCell(kDataLocation, kTextCell, std::string(400, 'n'));
    row.SetCell(kDataRecordedOn, kNumberCell, std::string(60, 'r'));
    const SkyPoint point = SkyPointOfDataInfoRow(row);
    EXPECT_EQ(std::string(point.name), std::string(299, 'n'));
    EXPECT_EQ(std::string(point.recordedOn), std::string(51, 'r'));
}
