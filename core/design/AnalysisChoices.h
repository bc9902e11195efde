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

// The method of slices a circle's factor is computed by.
enum class TSliceMethodKind : std::uint8_t {
    Ordinary = 0,          // moment or force form, TFsForm
    Bishop = 1,            // simplified Bishop: moment equilibrium, interslice shear neglected
    Janbu = 2,             // simplified Janbu: force equilibrium, with its correction factor
    Spencer = 3,           // force and moment equilibrium, interslice forces of one inclination
    MorgensternPrice = 4,  // the same with the inclination λ·f(x), f a half-sine
};

// How the pore pressure enters the normal force of a slice's base.
enum class TPoreForm : std::uint8_t {
    Modified = 0,      // (W − u·b)·cosα
    Conventional = 1,  // W·cosα − u·l, l = b / cosα
};

}  // namespace sorvanta
