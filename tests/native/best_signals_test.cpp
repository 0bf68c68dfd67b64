// Reading the best signals: key order, required keys, pot texts and their capacities.
#include <gtest/gtest.h>

#include "core/client/best_signals.h"

namespace
{

std::string FullState()
{
    std::string text =
        "prog=0.25\n"
        "bs_power=12.5\nbg_chisq=1.75\n"
        "bg_true_mean=3.5\nbg_power=4.5\nbg_fft_ind=6\nbg_sigma=7.25\n"
        "bp_score=1.1\nbp_power=2.2\nbp_mean=3.3\nbp_period=4.4\nbp_freq_bin=5\nbp_time_bin=6\n"
        "bp_chirp_rate=-7.5\nbp_fft_len=8\nbp_pot=0a0b0c\n"
        "bt_score=9.5\nbt_power=10.5\nbt_mean=11.5\nbt_period=12.5\nbt_bperiod=13.5\n"
        "bt_tpotind0_0=1\nbt_tpotind0_1=2\nbt_tpotind1_0=3\nbt_tpotind1_1=4\nbt_tpotind2_0=5\nbt_tpotind2_1=6\n"
        "bt_time_bin=14\nbt_chirp_rate=15.5\nbt_scale=16.5\nbt_fft_len=17\nbt_pot=ff00ff\n";
    text += "bg_pot 0=1.5\nbg_pot 1=2.25\n";
    return text;
}

TEST(ReadBestSignals, ReadsEveryKey)
{
    BestSignals s;
    LatestStatus status;
    ASSERT_TRUE(ReadBestSignals(FullState(), s, status));
    EXPECT_EQ(s.spikePower, 12.5);
    EXPECT_EQ(s.gaussianChiSquare, 1.75);
    EXPECT_EQ(s.gaussianPot, "1.5\x01"
                             "2.25\x01");
    EXPECT_EQ(s.gaussianTrueMean, 3.5);
    EXPECT_EQ(s.gaussianPower, 4.5);
    EXPECT_EQ(s.gaussianFftIndex, 6);
    EXPECT_EQ(s.gaussianSigma, 7.25);
    EXPECT_EQ(s.pulseScore, 1.1);
    EXPECT_EQ(s.pulsePower, 2.2);
    EXPECT_EQ(s.pulseMean, 3.3);
    EXPECT_EQ(s.pulsePeriod, 4.4);
    EXPECT_EQ(s.pulseFreqBin, 5);
    EXPECT_EQ(s.pulseTimeBin, 6);
    EXPECT_EQ(s.pulseChirpRate, -7.5);
    EXPECT_EQ(s.pulseFftLength, 8);
    EXPECT_EQ(s.pulsePot, (HexPot{0x0a, 0x0b, 0x0c}));
    EXPECT_EQ(s.tripletScore, 9.5);
    EXPECT_EQ(s.tripletPower, 10.5);
    EXPECT_EQ(s.tripletMean, 11.5);
    EXPECT_EQ(s.tripletPeriod, 12.5);
    EXPECT_EQ(s.tripletBasePeriod, 13.5);
    EXPECT_EQ(s.tripletPotIndex[0][0], 1);
    EXPECT_EQ(s.tripletPotIndex[0][1], 2);
    EXPECT_EQ(s.tripletPotIndex[1][0], 3);
    EXPECT_EQ(s.tripletPotIndex[1][1], 4);
    EXPECT_EQ(s.tripletPotIndex[2][0], 5);
    EXPECT_EQ(s.tripletPotIndex[2][1], 6);
    EXPECT_EQ(s.tripletTimeBin, 14);
    EXPECT_EQ(s.tripletChirpRate, 15.5);
    EXPECT_EQ(s.tripletScale, 16.5);
    EXPECT_EQ(s.tripletFftLength, 17);
    EXPECT_EQ(s.tripletPot, (HexPot{0xff, 0x00, 0xff}));
    // The last lookup was the missing "bg_pot 2=", which ended the gaussian loop.
    EXPECT_EQ(status.Text(), "Could not find \"bg_pot 2=\" in file.");
}

TEST(ReadBestSignals, RequiredKeysStopTheRead)
{
    BestSignals before;
    before.spikePower = 1;
    before.gaussianChiSquare = 2;
    before.pulsePot = {0xab, 0xcd};
    before.tripletScore = 3;

    std::string noSpike = FullState();
    noSpike.replace(noSpike.find("bs_power="), 2, "xx");
    BestSignals s = before;
    LatestStatus status;
    EXPECT_FALSE(ReadBestSignals(noSpike, s, status));
    EXPECT_EQ(status.Text(), "Could not find \"bs_power=\" in file.");
    EXPECT_EQ(s.spikePower, 1);
    EXPECT_EQ(s.pulsePot, (HexPot{0xab, 0xcd}));

    std::string noChi = FullState();
    noChi.replace(noChi.find("bg_chisq="), 2, "xx");
    s = before;
    EXPECT_FALSE(ReadBestSignals(noChi, s, status));
    EXPECT_EQ(status.Text(), "Could not find \"bg_chisq=\" in file.");
    EXPECT_EQ(s.spikePower, 12.5); // the new spike stays
    EXPECT_EQ(s.gaussianChiSquare, 2);
    EXPECT_EQ(s.tripletScore, 3);
}

TEST(ReadBestSignals, MissingOptionalKeysClearTheirFields)
{
    BestSignals s;
    s.pulsePot = {1, 2};
    s.tripletPot = {3, 4};
    s.gaussianPot = "9\x01";
    s.pulseScore = 5;
    LatestStatus status;
    ASSERT_TRUE(ReadBestSignals("bs_power=1\nbg_chisq=2\n", s, status));
    EXPECT_TRUE(s.pulsePot.empty());
    EXPECT_TRUE(s.tripletPot.empty());
    EXPECT_EQ(s.gaussianPot, "");
    EXPECT_EQ(s.pulseScore, 0);
    EXPECT_EQ(status.Text(), "Could not find \"bt_pot=\" in file.");
}

TEST(ReadBestSignals, GaussianPotKeepsCarriageReturnsAndAtMost64Values)
{
    std::string text = "bs_power=1\r\nbg_chisq=2\r\n";
    for (int i = 0; i <= 70; ++i)
        text += "bg_pot " + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    BestSignals s;
    LatestStatus status;
    ASSERT_TRUE(ReadBestSignals(text, s, status));
    EXPECT_EQ(std::count(s.gaussianPot.begin(), s.gaussianPot.end(), '\x01'), 64);
    EXPECT_EQ(s.gaussianPot.substr(0, 6), "0\r\x01"
                                          "1\r\x01");
    EXPECT_NE(s.gaussianPot.find("63\r\x01"), std::string::npos);
    EXPECT_EQ(s.gaussianPot.find("64\r"), std::string::npos);
}

TEST(ReadBestSignals, PotTextsAreCutAtTheirCapacity)
{
    std::string text = "bs_power=1\nbg_chisq=2\n";
    text += "bp_pot=" + std::string(1500, 'a') + "\n";
    text += "bt_pot=" + std::string(1025, 'b') + "\n";
    // 64 values of 20 characters would need 1344 characters: only whole values that fit are kept.
    for (int i = 0; i < 64; ++i)
        text += "bg_pot " + std::to_string(i) + "=" + std::string(20, '7') + "\n";
    BestSignals s;
    LatestStatus status;
    ASSERT_TRUE(ReadBestSignals(text, s, status));
    EXPECT_EQ(s.pulsePot, HexPot(kHexPotBytes, 0xaa));
    EXPECT_EQ(s.tripletPot, HexPot(kHexPotBytes, 0xbb));
    EXPECT_LE(s.gaussianPot.size(), kGaussianPotCapacity);
    EXPECT_EQ(s.gaussianPot.size(), 48u * 21u); // 48 whole values of 20 digits and a separator
    EXPECT_EQ(s.gaussianPot.back(), '\x01');
}

} // namespace
