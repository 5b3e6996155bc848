#pragma once

// Saturated dissolved oxygen of water, from two cubics in temperature fitted to
// the JIS K0102 table. Every step is one double operation, rounded before the
// next, in a fixed order; T² and T³ are the exact powers rounded once (powers.h),
// not a C library's pow. Compiled without fused multiply-adds, the results are the
// same bits on every build.

namespace dosat {

/// Stores into DOT the saturated DO (mg/L) of chloride-free water at T (°C).
void FN1(double& DOT, const double& T);

/// Stores into DZEP the drop of saturated DO (mg/L) per 100 mg/L chloride at T (°C).
void FN2(double& DZEP, const double& T);

}  // namespace dosat
