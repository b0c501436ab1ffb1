// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/fourier.h"

#include <fftw3.h>

#include <algorithm>
#include <mutex>
#include <new>

#include "errors.h"

namespace tarnwick {

namespace {

// FFTW's planner keeps shared state: plans are made and destroyed one at a time. Running
// a plan on its own arrays is safe from any thread.
std::mutex& PlannerMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

struct TRealTransform::TPlans {
  fftw_plan Forward = nullptr;
  fftw_plan Inverse = nullptr;
};

size_t FastTransformLength(size_t least) {
  size_t best = 1;
  while (best < least) best *= 2;  // a power of two always qualifies
  for (size_t a = 1; a < best; a *= 2) {
    for (size_t b = a; b < best; b *= 3) {
      for (size_t c = b; c < best; c *= 5) {
        for (size_t d = c; d < best; d *= 7) {
          if (d >= least) best = d;
        }
      }
    }
  }
  return best;
}

TRealTransform::TRealTransform(size_t length) : length_(length), plans_(new TPlans) {
  if (length_ < 2) throw RangeError("A transform needs at least 2 values");
  values_ = static_cast<double*>(fftw_malloc(sizeof(double) * length_));
  spectrum_ = static_cast<std::complex<double>*>(
      fftw_malloc(sizeof(std::complex<double>) * SpectrumLength()));
  if (values_ == nullptr || spectrum_ == nullptr) {
    fftw_free(values_);
    fftw_free(spectrum_);
    throw std::bad_alloc();
  }
  auto* spectrum = reinterpret_cast<fftw_complex*>(spectrum_);
  const auto n = static_cast<int>(length_);
  const std::lock_guard lock(PlannerMutex());
  // FFTW_ESTIMATE plans at once and leaves the arrays alone; the transforms here are run a
  // few times each, so measuring for a faster plan would not pay.
  plans_->Forward = fftw_plan_dft_r2c_1d(n, values_, spectrum, FFTW_ESTIMATE);
  plans_->Inverse = fftw_plan_dft_c2r_1d(n, spectrum, values_, FFTW_ESTIMATE);
}

TRealTransform::~TRealTransform() {
  {
    const std::lock_guard lock(PlannerMutex());
    fftw_destroy_plan(plans_->Forward);
    fftw_destroy_plan(plans_->Inverse);
  }
  fftw_free(values_);
  fftw_free(spectrum_);
}

std::span<double> TRealTransform::Values() {
  return {values_, length_};
}

std::span<std::complex<double>> TRealTransform::Spectrum() {
  return {spectrum_, SpectrumLength()};
}

void TRealTransform::Forward() {
  fftw_execute(plans_->Forward);
}

void TRealTransform::Inverse() {
  fftw_execute(plans_->Inverse);
  const double scale = 1.0 / static_cast<double>(length_);
  for (size_t j = 0; j < length_; ++j) values_[j] *= scale;
}

TConvolution::TConvolution(std::span<const double> kernel, size_t length)
    : length_(length),
      span_(kernel.size()),
      transform_(FastTransformLength(length + kernel.size())),
      kernel_(transform_.SpectrumLength()) {
  std::span<double> values = transform_.Values();
  std::fill(values.begin(), values.end(), 0.0);
  std::copy(kernel.begin(), kernel.end(), values.begin());
  transform_.Forward();
  std::copy(transform_.Spectrum().begin(), transform_.Spectrum().end(), kernel_.begin());
}

std::span<const double> TConvolution::Apply(std::span<const double> in) {
  std::span<double> values = transform_.Values();
  std::fill(values.begin(), values.end(), 0.0);
  std::copy(in.begin(), in.end(), values.begin());
  transform_.Forward();
  std::span<std::complex<double>> spectrum = transform_.Spectrum();
  for (size_t m = 0; m < spectrum.size(); ++m) spectrum[m] *= kernel_[m];
  transform_.Inverse();
  const std::span<double> out = values.first(length_ + span_ - 1);
  for (double& v : out) v = std::max(v, 0.0);
  return out;
}

}  // namespace tarnwick
