// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/error_report.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "parts/gradient_label.h"
#include "parts/qt_text.h"
#include "session/preferences.h"
#include "session/report_links.h"

namespace tarnwick::app {

namespace {

// A text of the language file, or the given one when there is none yet (an error while
// the program starts).
QString TextOr(const char* section, const char* key, const char* fallback) {
  try {
    const std::string text = Preferences().Text(section, key);
    if (!text.empty()) return Q(text);
  } catch (...) {
    // No languages: the program's own words.
  }
  return QString::fromLatin1(fallback);
}

}  // namespace

TfmException::TfmException(QWidget* parent, const QString& message) : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setAccessibleName(QStringLiteral("Error report"));
  lHeader_ = new TGradientLabel(this);
  lHeader_->setText(TextOr("Exception", "Header", "SORRY,  PROGRAM  ERROR"));
  lHeader_->setMinimumHeight(23);
  memo_ = new QPlainTextEdit(this);
  memo_->setReadOnly(true);
  memo_->setPlainText(message);
  memo_->setAccessibleName(QStringLiteral("Error text"));
  memo_->setMinimumSize(420, 160);
  btnOK_ = new QPushButton(TextOr("Buttons", "OK", "OK"), this);
  btnSend_ = new QPushButton(TextOr("Buttons", "Send", "Send"), this);
  btnCopy_ = new QPushButton(TextOr("Buttons", "Copy", "Copy").remove(QLatin1Char('&')), this);
  btnOK_->setAccessibleName(btnOK_->text());
  btnSend_->setAccessibleName(btnSend_->text());
  btnCopy_->setAccessibleName(btnCopy_->text());
  btnOK_->setDefault(true);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnSend_, &QPushButton::clicked, this, &TfmException::Send);
  connect(btnCopy_, &QPushButton::clicked, this, &TfmException::Copy);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnSend_);
  buttons->addWidget(btnCopy_);
  buttons->addStretch();
  buttons->addWidget(btnOK_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lHeader_);
  layout->addWidget(memo_, 1);
  layout->addLayout(buttons);
}

QString TfmException::Message() const {
  return memo_->toPlainText();
}

void TfmException::Send() {
  // The report keeps the line breaks it had in the core: "\r\n".
  QString text = Message();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  const std::string link = ErrorReportMailLink(S(text));
  QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(link)));
}

void TfmException::Copy() {
  QApplication::clipboard()->setText(Message());
}

}  // namespace tarnwick::app
