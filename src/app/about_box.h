// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The about box: the program's picture, name and version, and links to its web page (for
// the language in use) and its support mail.

#include <QDialog>

class QLabel;

namespace tarnwick::app {

class TfmAbout : public QDialog {
  Q_OBJECT

 public:
  TfmAbout(QWidget* parent, qreal devicePixelRatio);

  QLabel* WebLink() const { return lURL_; }
  QLabel* MailLink() const { return lMail_; }

 private:
  QLabel* lURL_;
  QLabel* lMail_;
};

}  // namespace tarnwick::app
