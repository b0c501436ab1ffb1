// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "card_painter.h"
#include "qt_text.h"
#include "session/preferences.h"
#include "session/report_links.h"

namespace tarnwick::app {

namespace {

QLabel* Link(QWidget* parent, const QString& target, const QString& shown) {
  auto* label = new QLabel(
      QStringLiteral("<a href=\"%1\">%2</a>").arg(target, shown.toHtmlEscaped()), parent);
  label->setTextFormat(Qt::RichText);
  label->setOpenExternalLinks(true);  // through the desktop's browser and mail client
  label->setTextInteractionFlags(Qt::TextBrowserInteraction);
  label->setAccessibleDescription(target);
  return label;
}

}  // namespace

TfmAbout::TfmAbout(QWidget* parent, qreal devicePixelRatio) : QDialog(parent) {
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
  auto* version =
      new QLabel(QStringLiteral("Version ") + QString::fromLatin1(kProgramVersion), this);
  const QString web = Q(Preferences().WebAddress());
  lURL_ = Link(this, web, web);
  lMail_ = Link(this, Q(AboutMailLink()), QString::fromLatin1(kSupportAddress));
  auto* ok = new QPushButton(Q(Preferences().ButtonText("OK")), this);
  ok->setAccessibleName(ok->text());
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addStretch();
  texts->addWidget(name);
  texts->addWidget(version);
  texts->addSpacing(12);
  texts->addWidget(lURL_);
  texts->addWidget(lMail_);
  texts->addStretch();
  texts->addWidget(ok, 0, Qt::AlignRight);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(picture);
  layout->addSpacing(12);
  layout->addLayout(texts);
}

}  // namespace tarnwick::app
