#pragma once

// Where a channel lives in the codeplug image: the 16-byte record of channel n at image offset
// (n - 1) x 16, and the scan list bitmap kept apart from the records. Record offsets count from
// the start of the record; a bit mask belongs to the byte named just before it. Bit 0 is the
// least significant bit.

#include <QtGlobal>

namespace tr640 {

struct ChannelRecord {
    static constexpr int kSize = 16;
    static constexpr int offset(int channel) { return (channel - 1) * kSize; }

    // Bytes 0-3 and 4-7: frequencies, eight packed-BCD digits in 10 Hz, low pair first. All four
    // bytes 0xFF: the channel is empty (receive) or has no transmit frequency.
    static constexpr int kRxFrequency = 0;
    static constexpr int kTxFrequency = 4;
    static constexpr int kFrequencySize = 4;

    // Bytes 8-9 and 10-11: tone words, low byte first.
    static constexpr int kRxTone = 8;
    static constexpr int kTxTone = 10;

    // Byte 12: busy-channel lock-out in bit 3 (set for Carrier, clear for Off); bits 7-4 are
    // always set.
    static constexpr int kBcloByte = 12;
    static constexpr quint8 kBcloCarrier = 0x08;
    static constexpr quint8 kBcloByteFixed = 0xF0;

    // Byte 13: power in bit 5 (set for High), bandwidth in bit 4 (set for Wide); bits 7-6 are
    // always set.
    static constexpr int kPowerBandwidthByte = 13;
    static constexpr quint8 kPowerHigh = 0x20;
    static constexpr quint8 kBandwidthWide = 0x10;
    static constexpr quint8 kPowerBandwidthFixed = 0xC0;

    // Bytes 14 and 15: constants, never read.
    static constexpr int kFixedByte14 = 14;
    static constexpr quint8 kFixed14 = 0xFC;
    static constexpr int kFixedByte15 = 15;
    static constexpr quint8 kFixed15 = 0xFF;
};

// Scan list membership: bit n - 1 of this 16-bit word (low byte first) is set when channel n is
// scanned.
inline constexpr int kScanAdd = 0x16E;

} // namespace tr640
