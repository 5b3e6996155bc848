#pragma once

// Saturated dissolved oxygen of water, from two cubics in temperature fitted to
// the JIS K0102 table. Every step is one double operation, rounded before the
// next, in a fixed order, so the results are the same bits on every platform.

namespace dosat {

/// Stores into DOT the saturated DO (mg/L) of chloride-free water at T (°C).
void FN1(double& DOT, const double& T);

/// Stores into DZEP the drop of saturated DO (mg/L) per 100 mg/L chloride at T (°C).
void FN2(double& DZEP, const double& T);

}  // namespace dosat
