#ifndef QUENVALE_FILEACCESS_FILERATE_H
#define QUENVALE_FILEACCESS_FILERATE_H

#include <cstdint>
#include <string>

// The rate of a File Access pass, in KiB per second, and its text; on an
// optical drive also as a multiple of the single-speed rate of the medium.

enum class E_OpticalMedium {
    None,   // not an optical drive
    Cd,
    Dvd,
};

// Above this many MByte of capacity an optical medium is a DVD.
constexpr uint64_t kLargestCdMBytes = 759;
// Single-speed rates in KiB per second.
constexpr float kCdSingleSpeed = 150.0f;
constexpr float kDvdSingleSpeed = 1352.0f;

// The medium in a CD-ROM drive of ullTotalBytes capacity.
E_OpticalMedium OpticalMediumOf(uint64_t ullTotalBytes);

// File size / 1024 × 1000 × 1000 / microseconds in single precision (the
// whole file size counts, a skipped partial last block too); 0 for 0 µs.
float FileRateKiB(uint64_t ullFileSize, uint64_t ullMicroseconds);

// The rate as a multiple of the medium's single speed; 0 without a medium.
float OpticalFactor(float fKiBPerSecond, E_OpticalMedium eMedium);

// The result line of a rated pass: FormatSize of the whole KiB × 1024 (one
// decimal, long units) and "/sec", then " - 1.0x dvd" or " - 10.0x cd-rom"
// on an optical medium: "1.3 MByte/sec - 1.0x dvd".
std::string FileRateText(float fKiBPerSecond, E_OpticalMedium eMedium);

#endif
