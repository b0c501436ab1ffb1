// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The error report: the text of a failure (which for a failed analysis or calculation
// already carries the hand and the pay table), with Send (a mail to the support address
// with the text as its body), Copy (the whole text to the clipboard) and OK.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace tarnwick::app {

class TGradientLabel;

class TfmException : public QDialog {
  Q_OBJECT

 public:
  TfmException(QWidget* parent, const QString& message);

  QString Message() const;
  QPushButton* SendButton() const { return btnSend_; }
  QPushButton* CopyButton() const { return btnCopy_; }

 private:
  void Send();
  void Copy();

  TGradientLabel* lHeader_;
  QPlainTextEdit* memo_;
  QPushButton* btnOK_;
  QPushButton* btnSend_;
  QPushButton* btnCopy_;
};

}  // namespace tarnwick::app
