// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The about box: the program's picture, name and version, its licence (with a link to the
// licence's text) and the version of Qt it runs on.

#include <QDialog>

class QLabel;

namespace tarnwick::app {

class TfmAbout : public QDialog {
  Q_OBJECT

 public:
  TfmAbout(QWidget* parent, qreal devicePixelRatio);

  QLabel* VersionLabel() const { return version_; }
  QLabel* LicenceLink() const { return licence_; }
  QLabel* QtVersionLabel() const { return qtVersion_; }

 private:
  QLabel* version_;
  QLabel* licence_;
  QLabel* qtVersion_;
};

}  // namespace tarnwick::app
