// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about_box.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "parts/card_painter.h"
#include "parts/qt_text.h"
#include "session/preferences.h"
#include "session/report_links.h"

namespace tarnwick::app {

namespace {

constexpr char kLicenceAddress[] = "https://www.gnu.org/licenses/gpl-3.0.html";

}  // namespace

TfmAbout::TfmAbout(QWidget* parent, qreal devicePixelRatio) : QDialog(parent) {
  const TPreferences& preferences = Preferences();
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setAccessibleName(QStringLiteral("About"));
  auto* picture = new QLabel(this);
  picture->setPixmap(TCardPainter(devicePixelRatio).AboutPicture());
  picture->setAccessibleDescription(QStringLiteral("Tarnwick picture"));
  auto* name = new QLabel(QString::fromLatin1(kProgramTitle), this);
  QFont large = name->font();
  large.setBold(true);
  large.setPointSizeF(large.pointSizeF() * 1.6);
  name->setFont(large);
  version_ = new QLabel(
      Q(FormatText(preferences.Text("About", "Version"), {std::string(kProgramVersion)})), this);
  version_->setAccessibleDescription(QStringLiteral("Version"));
  // The licence links to its text; no other address is given, for none would answer.
  licence_ = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                            .arg(QString::fromLatin1(kLicenceAddress),
                                 Q(preferences.Text("About", "Licence")).toHtmlEscaped()),
                        this);
  licence_->setTextFormat(Qt::RichText);
  licence_->setWordWrap(true);
  licence_->setOpenExternalLinks(true);  // through the desktop's browser
  licence_->setTextInteractionFlags(Qt::TextBrowserInteraction);
  licence_->setToolTip(HintOf(preferences.HintText("About", "Licence")));
  licence_->setAccessibleDescription(QString::fromLatin1(kLicenceAddress));
  qtVersion_ = new QLabel(
      Q(FormatText(preferences.Text("About", "QtVersion"), {std::string(qVersion())})), this);
  qtVersion_->setAccessibleDescription(QStringLiteral("Qt version"));
  auto* ok = new QPushButton(Q(preferences.ButtonText("OK")), this);
  ok->setAccessibleName(ok->text());
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addStretch();
  texts->addWidget(name);
  texts->addWidget(version_);
  texts->addSpacing(12);
  texts->addWidget(licence_);
  texts->addWidget(qtVersion_);
  texts->addStretch();
  texts->addWidget(ok, 0, Qt::AlignRight);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(picture);
  layout->addSpacing(12);
  layout->addLayout(texts, 1);
  // Wide enough for the licence on two lines at most.
  licence_->setMinimumWidth(QFontMetrics(font()).averageCharWidth() * 40);
}

}  // namespace tarnwick::app
