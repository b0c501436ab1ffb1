// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Real discrete Fourier transforms of one length, done by FFTW: the spectrum of a real
// sequence of Length() numbers is its first Length() / 2 + 1 complex coefficients (the rest
// are their conjugates). Sums of independent results become products of spectra, which is
// how the multi-play distributions and bankroll steps are counted.

#include <complex>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace tarnwick {

// The smallest length at least `least` made of the factors 2, 3, 5 and 7 only, for which
// the transforms are fast.
size_t FastTransformLength(size_t least);

class TRealTransform {
 public:
  explicit TRealTransform(size_t length);
  ~TRealTransform();
  TRealTransform(const TRealTransform&) = delete;
  TRealTransform& operator=(const TRealTransform&) = delete;

  size_t Length() const { return length_; }
  size_t SpectrumLength() const { return length_ / 2 + 1; }
  // The working arrays the transforms read and write.
  std::span<double> Values();
  std::span<std::complex<double>> Spectrum();
  // Values -> Spectrum: Spectrum[m] = sum over j of Values[j] e^(-2 pi i j m / Length).
  void Forward();
  // Spectrum -> Values, divided by Length(): the exact inverse of Forward. Overwrites the
  // spectrum.
  void Inverse();

 private:
  struct TPlans;
  size_t length_;
  double* values_ = nullptr;
  std::complex<double>* spectrum_ = nullptr;
  std::unique_ptr<TPlans> plans_;
};

// Adds one independent result to probabilities over consecutive cells by one transform: with
// the kernel's chances of moving 0, 1, 2, ... cells, Apply(in)[t] = sum over i of
// in[i] kernel[t - i], for t up to in.size() + kernel.size() - 2.
class TConvolution {
 public:
  // `length` cells in; the kernel is transformed once here.
  TConvolution(std::span<const double> kernel, size_t length);

  // length + kernel size - 1 results; what rounding leaves below zero is zero. The span
  // stays valid until the next call.
  std::span<const double> Apply(std::span<const double> in);

 private:
  size_t length_;
  size_t span_;
  TRealTransform transform_;
  std::vector<std::complex<double>> kernel_;
};

}  // namespace tarnwick
