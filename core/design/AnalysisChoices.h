#pragma once
// The choices of a calculation that are choices and not numbers. The values
// are the indices of the choice lists the windows show, so a list index
// converts with a cast.

#include <cstdint>

namespace sorvanta {

// How Fs is formed and the tables are headed.
enum class TFsForm : std::uint8_t {
    Moment = 0,  // Fs = Mr / Mo
    Force = 1,   // Fs = Fr / Fo
};

// Which circles the search may report.
enum class TSlipDirection : std::uint8_t {
    Clockwise = 0,
    CounterClockwise = 1,
    Both = 2,  // the smaller |Fs| of the two
};

enum class TStrengthMode : std::uint8_t {
    Total = 0,      // 全応力
    Effective = 1,  // 有効応力: (W − u·b)
};

// Which cases a design is checked for, each against its own required Fs.
enum class TDesignCase : std::uint8_t {
    Normal = 0,   // 常時
    Seismic = 1,  // 地震時: the seismic coefficient kh acts on the sliding mass
    Both = 2,
};

}  // namespace sorvanta
