// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "strategy_window.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "errors.h"
#include "help_browser.h"
#include "parts/gradient_label.h"
#include "parts/guard.h"
#include "parts/job_runner.h"
#include "parts/progress_dialog.h"
#include "parts/qt_text.h"
#include "parts/window_place.h"
#include "session/preferences.h"
#include "text.h"

namespace tarnwick::app {

namespace {

constexpr char kSection[] = "Strategy";
constexpr int kColumns = 5;  // number, line, share, lost, example
constexpr std::array<TStrategyLevel, 4> kLevels = {
    TStrategyLevel::Beginner, TStrategyLevel::Intermediate, TStrategyLevel::Advanced,
    TStrategyLevel::Expert};

TStrategyComputation WholeGame() {
  return {[](const TPokerDescription& game, const TPayout& table, int maxLines,
             TProgress& progress) { return GenerateForTable(game, table, maxLines, &progress); },
          [](const TPokerDescription& game, const TPayout& table, const TStrategy& strategy,
             TProgress& progress) { return EvaluateForTable(game, table, strategy, &progress); }};
}

TStrategyComputation& Installed() {
  static TStrategyComputation computation = WholeGame();
  return computation;
}

QString Text(const char* key) {
  return Q(Preferences().Text(kSection, key));
}

// A share of the bet or of the deals in percent.
QString Percent(long double share, int decimals) {
  return QString::number(static_cast<double>(share * 100), 'f', decimals) + QStringLiteral(" %");
}

// The five cards of a deal, the held ones in brackets ("[JS] [JH] 4D 7C 9S"), or in bold for
// a printed page.
QString ExampleText(const TPlayedDeal& deal, bool bold) {
  QStringList cards;
  for (int i = 0; i < kHandSize; ++i) {
    const QString card = Q(CardText(deal.Cards[static_cast<size_t>(i)]));
    const bool held = !BitSet(deal.DrawMask, i);
    if (!held) {
      cards << card;
    } else if (bold) {
      cards << QStringLiteral("<b>%1</b>").arg(card);
    } else {
      cards << QStringLiteral("[%1]").arg(card);
    }
  }
  return cards.join(QLatin1Char(' '));
}

// The wild cards a line keeps as a heading ("2 deuces"): the part of its text before the
// colon; empty for a line that leaves them open.
QString WildHeading(const TLinePattern& line, const THoldNamer& namer) {
  if (line.Wild == TLinePattern::kAny) return {};
  const QString text = Q(namer.Text(line));
  const qsizetype colon = text.indexOf(QLatin1Char(':'));
  return colon < 0 ? QString() : text.left(colon);
}

}  // namespace

struct TfmStrategy::TResult {
  TStrategy Strategy;
  TStrategyReport Report;
};

void TfmStrategy::SetComputation(TStrategyComputation computation) {
  Installed() = computation.Generate && computation.Evaluate ? std::move(computation) : WholeGame();
}

TfmStrategy::TfmStrategy(QWidget* parent, const TTableSnapshot& table, const QString& caption)
    : QDialog(parent),
      title_(new TGradientLabel(this)),
      tableLine_(new QLabel(this)),
      levelLabel_(new QLabel(this)),
      levelBox_(new QComboBox(this)),
      grid_(new QTableWidget(this)),
      status_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(this)),
      print_(new QPushButton(this)),
      save_(new QPushButton(this)),
      copy_(new QPushButton(this)),
      open_(new QPushButton(this)),
      ok_(new QPushButton(this)),
      runner_(std::make_unique<TJobRunner>(TJobPolicy::NewestWins)) {
  if (table.Game == nullptr) throw InputError("the strategy card needs the pay table's game");
  AddHelpKey(this, THelpContext::Strategy);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  table_ = table;
  caption_ = caption;
  const std::optional<TStrategyLevel> stored =
      ParseLevel(Preferences().Settings.ReadString(kSection, "Level"));
  level_ = stored.value_or(TStrategyLevel::Beginner);

  // A label's accessible name is its text; the description tells it apart.
  title_->setAccessibleDescription(QStringLiteral("Strategy name"));
  tableLine_->setAccessibleDescription(QStringLiteral("Table"));
  tableLine_->setWordWrap(true);
  status_->setAccessibleDescription(QStringLiteral("Status"));
  status_->setWordWrap(true);
  levelBox_->setAccessibleName(QStringLiteral("Level"));
  levelLabel_->setBuddy(levelBox_);
  for (size_t i = 0; i < kLevels.size(); ++i) levelBox_->addItem(QString());
  // Chosen again, a level computes again (after a cancel, or to leave a typed list).
  connect(levelBox_, &QComboBox::activated, this,
          [this](int index) { SetLevel(kLevels.at(static_cast<size_t>(index))); });

  auto* figures = new QGridLayout;
  const std::array<const char*, kFigures> figureNames = {"Perfect play", "Return of the list",
                                                         "Cost", "Wrong holds"};
  for (int i = 0; i < kFigures; ++i) {
    figureNames_[static_cast<size_t>(i)] = new QLabel(this);
    auto* figure = new QLabel(this);
    figure->setAccessibleDescription(Q(figureNames[static_cast<size_t>(i)]));
    figure->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figures_[static_cast<size_t>(i)] = figure;
    figures->addWidget(figureNames_[static_cast<size_t>(i)], i / 2, (i % 2) * 2);
    figures->addWidget(figure, i / 2, (i % 2) * 2 + 1);
  }
  figures->setColumnMinimumWidth(2, 0);
  figures->setColumnStretch(1, 1);
  figures->setColumnStretch(3, 1);

  bar_->setAccessibleName(QStringLiteral("Progress"));
  bar_->setTextVisible(false);
  cancel_->setAutoDefault(false);
  connect(cancel_, &QPushButton::clicked, this, [this] {
    CancelComputation();
    failure_ = Text("Cancelled");
    ShowCard();
  });
  // The bar and Stop keep their room while hidden, so the window's least size stays the same
  // while the card is computed and after.
  bar_->setFixedWidth(std::max(160, fontMetrics().averageCharWidth() * 24));
  for (QWidget* busy : std::initializer_list<QWidget*>{bar_, cancel_}) {
    QSizePolicy policy = busy->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    busy->setSizePolicy(policy);
  }

  grid_->setAccessibleName(QStringLiteral("Strategy"));
  grid_->setColumnCount(kColumns);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move in it
  grid_->verticalHeader()->hide();
  // The figures and the deal as wide as they need; the holds take the room left and wrap a
  // row of many lines, which grows as tall as its text.
  QHeaderView* columns = grid_->horizontalHeader();
  for (int c = 0; c < kColumns; ++c)
    columns->setSectionResizeMode(c, c == 1 ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
  grid_->setWordWrap(true);
  grid_->verticalHeader()->setMinimumSectionSize(grid_->fontMetrics().height() + 6);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

  for (QPushButton* button : {print_, save_, copy_, open_, ok_}) button->setAutoDefault(false);
  ok_->setDefault(true);
  hasPrinter_ = !QPrinterInfo::availablePrinterNames().isEmpty();
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(copy_, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(CopiedText()); });
  auto* copyText = new QAction(this);
  copyText->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  connect(copyText, &QAction::triggered, this, [this] {
    if (copy_->isEnabled()) QApplication::clipboard()->setText(CopiedText());
  });
  addAction(copyText);
  connect(print_, &QPushButton::clicked, this, [this] {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) Guarded(this, [&] { PrintTo(printer); });
  });
  connect(save_, &QPushButton::clicked, this, [this] {
    QString path =
        QFileDialog::getSaveFileName(this, save_->accessibleName(), QStringLiteral("strategy.pdf"),
                                     QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    Guarded(this, [&] { SavePdf(path); });
  });
  connect(open_, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getOpenFileName(
        this, open_->accessibleName(), QString(),
        Text("Lists") + QStringLiteral(" (*.txt);;") + Text("AllFiles") + QStringLiteral(" (*)"));
    if (!path.isEmpty()) OpenTypedList(path);
  });

  auto* levelRow = new QHBoxLayout;
  levelRow->addWidget(levelLabel_);
  levelRow->addWidget(levelBox_);
  levelRow->addStretch(1);
  levelRow->addWidget(bar_);
  levelRow->addWidget(cancel_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(print_);
  buttons->addWidget(save_);
  buttons->addWidget(copy_);
  buttons->addWidget(open_);
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(tableLine_);
  layout->addLayout(levelRow);
  layout->addLayout(figures);
  layout->addWidget(status_);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);

  tick_.setInterval(50);
  connect(&tick_, &QTimer::timeout, this, &TfmStrategy::ShowProgress);

  ApplyTexts();
  resize(std::max(760, fontMetrics().averageCharWidth() * 110), 720);
  RestoreWindowPlace(this, QStringLiteral("Strategy"), parent);
  Start();
}

TfmStrategy::~TfmStrategy() {
  SaveWindowPlace(this, QStringLiteral("Strategy"));
  Preferences().Settings.WriteString(kSection, "Level", std::string(LevelName(level_)));
  runner_.reset();  // waits for the job running, which reads the table
}

void TfmStrategy::ApplyTexts() {
  const TPreferences& preferences = Preferences();
  setWindowTitle(caption_);
  levelLabel_->setText(Text("Level"));
  levelBox_->setToolTip(HintOf(preferences.HintText(kSection, "Level")));
  const std::array<const char*, 4> levels = {"Beginner", "Intermediate", "Advanced", "Expert"};
  for (size_t i = 0; i < kLevels.size(); ++i)
    levelBox_->setItemText(static_cast<int>(i), Text(levels.at(i)));
  levelBox_->setCurrentIndex(static_cast<int>(level_));
  for (int i = 0; i < kFigures; ++i) figureNames_[static_cast<size_t>(i)]->setText(FigureName(i));
  const std::array<std::pair<QPushButton*, const char*>, 5> buttons = {{{print_, "Print"},
                                                                        {save_, "SavePdf"},
                                                                        {copy_, "CopyText"},
                                                                        {open_, "Open"},
                                                                        {cancel_, "Stop"}}};
  for (const auto& [button, key] : buttons) {
    button->setText(Text(key));
    QString name = button->text();
    button->setAccessibleName(name.remove('&').remove(QStringLiteral("...")));
    button->setToolTip(HintOf(preferences.HintText(kSection, key)));
  }
  ok_->setText(Q(preferences.ButtonText("OK")));
  ok_->setAccessibleName(ok_->text());
  grid_->setHorizontalHeaderLabels({Text("ColumnNumber"), Text("ColumnLine"), Text("ColumnShare"),
                                    Text("ColumnLost"), Text("ColumnExample")});
  grid_->horizontalHeader()->setToolTip(HintOf(preferences.HintText(kSection, "ColumnExample")));
  if (Busy()) status_->setText(Text("Computing"));
  ShowCard();
}

void TfmStrategy::Follow(const TTableSnapshot& table, const QString& caption) {
  if (table.Game == nullptr) return;
  // The caption follows the table's figures; the card only another game, pays or coins.
  caption_ = caption;
  setWindowTitle(caption_);
  if (table.Coins == table_.Coins && table.Table.SameAs(table_.Table)) return;
  // A typed list is made of the lines of its game.
  if (typed_ && table.Game->GameId != table_.Game->GameId) typed_.reset();
  table_ = table;
  Start();
}

void TfmStrategy::SetLevel(TStrategyLevel level) {
  level_ = level;
  levelBox_->setCurrentIndex(static_cast<int>(level));
  typed_.reset();
  Start();
}

bool TfmStrategy::OpenTypedList(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    ReportError(this, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return false;
  }
  const THoldNamer namer(*table_.Game);
  TStrategyParse parse = ParseStrategy(file.readAll().toStdString(), namer);
  typed_ = std::move(parse.Strategy);
  typedName_ = QFileInfo(path).fileName();
  Start();
  if (!parse.Errors.empty()) {
    QStringList errors;
    for (const std::string& error : parse.Errors) errors << Q(error);
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    Q(FormatText(Preferences().Text(kSection, "Unreadable"), {S(typedName_)})),
                    QMessageBox::Ok, this);
    box.setInformativeText(errors.join(QLatin1Char('\n')));
    box.setAccessibleName(QStringLiteral("Unreadable rows"));
    box.exec();
  }
  return true;
}

void TfmStrategy::Start() {
  CancelComputation();
  report_.reset();
  failure_.clear();
  auto result = std::make_shared<TResult>();
  const TStrategyComputation computation = Installed();
  progress_ = runner_->Start(
      [result, computation, game = table_.Game, table = table_.Table, typed = typed_,
       lines = LevelLines(level_)](TProgress& progress) {
        if (typed) {
          result->Strategy = *typed;
          result->Report = computation.Evaluate(*game, table, *typed, progress);
        } else {
          TGeneratedStrategy generated = computation.Generate(*game, table, lines, progress);
          result->Strategy = std::move(generated.Strategy);
          result->Report = std::move(generated.Report);
        }
      },
      [this, result] { Finish(*result); },
      [this](const std::exception_ptr& failure) {
        progress_.reset();
        SetBusy(false);
        failure_ = FailureText(failure);
        ShowCard();
        ReportError(this, failure_);
      });
  SetBusy(true);
  ShowCard();
  emit Started();
}

void TfmStrategy::Finish(const TResult& result) {
  progress_.reset();
  strategy_ = result.Strategy;
  report_ = result.Report;
  SetBusy(false);
  ShowCard();
}

void TfmStrategy::CancelComputation() {
  // A cancelled computation stops at its next progress step; its result is dropped.
  runner_->Cancel();
  progress_.reset();
  SetBusy(false);
}

bool TfmStrategy::Busy() const {
  return runner_->Busy();
}

void TfmStrategy::SetBusy(bool busy) {
  bar_->setVisible(busy);
  cancel_->setVisible(busy);
  if (busy) {
    bar_->setRange(0, 0);  // moving until the work says how much it has
    status_->setText(Text("Computing"));
    tick_.start();
  } else {
    tick_.stop();
  }
  UpdateButtons();
}

void TfmStrategy::ShowProgress() {
  if (!progress_) return;
  const int64_t total = progress_->Total();
  if (total <= 0) return;
  // The bar counts in thousandths, which every total fits.
  bar_->setRange(0, 1000);
  bar_->setValue(static_cast<int>(std::min<int64_t>(progress_->Done() * 1000 / total, 1000)));
}

void TfmStrategy::UpdateButtons() {
  const bool ready = report_.has_value() && !Busy();
  copy_->setEnabled(ready);
  save_->setEnabled(ready);
  print_->setEnabled(ready && hasPrinter_);
}

void TfmStrategy::ShowTitle() {
  const std::array<const char*, 4> cards = {"BeginnerCard", "IntermediateCard", "AdvancedCard",
                                            "ExpertCard"};
  const TPreferences& preferences = Preferences();
  title_->setText(typed_ ? Q(FormatText(preferences.Text(kSection, "Typed"), {S(typedName_)}))
                         : Text(cards.at(static_cast<size_t>(level_))));
  tableLine_->setText(Q(FormatText(preferences.Text(kSection, "Table"),
                                   {table_.Game->Name, PaysText(table_.Table, '/'),
                                    std::to_string(std::max(table_.Coins, 1))})));
}

QString TfmStrategy::FigureName(int index) const {
  const std::array<const char*, kFigures> keys = {"Perfect", "Return", "Cost", "ErrorRate"};
  return Text(keys.at(static_cast<size_t>(index)));
}

QString TfmStrategy::FigureText(int index) const {
  if (!report_) return QStringLiteral("-");
  switch (index) {
    case 0:
      return Percent(report_->Perfect, 4);
    case 1:
      return Percent(report_->Return, 4);
    case 2:
      return Percent(report_->Cost, 4);
    default:
      return Percent(report_->ErrorRate, 2);
  }
}

std::vector<TfmStrategy::TShownRow> TfmStrategy::ShownRows() const {
  std::vector<TShownRow> rows;
  if (!report_) return rows;
  const THoldNamer namer(*table_.Game);
  // A card of a game with wild cards whose rows each keep one number of them stands in
  // sections; a card with lines for any number of wild cards reads as one list.
  const bool sections =
      namer.HasWildCards() &&
      std::all_of(strategy_.Rows.begin(), strategy_.Rows.end(), [](const TStrategyRow& row) {
        return std::all_of(row.Lines.begin(), row.Lines.end(), [&](const TLinePattern& line) {
          return line.Wild != TLinePattern::kAny && line.Wild == row.Lines.front().Wild;
        });
      });
  QString section;
  for (size_t r = 0; r < report_->Rows.size(); ++r) {
    const TRowReport& row = report_->Rows[r];
    // In sections every row stands under the wild cards it keeps, and the draw-five
    // fallback after the rows under a heading of its own.
    const bool fallback = r >= strategy_.Rows.size();
    const QString wild = !sections || fallback || strategy_.Rows[r].Lines.empty()
                             ? QString()
                             : WildHeading(strategy_.Rows[r].Lines.front(), namer);
    const QString heading = !sections ? QString() : wild.isEmpty() ? Text("AnyWild") : wild;
    if (!heading.isEmpty() && heading != section) {
      TShownRow title;
      title.Heading = true;
      title.Line = heading;
      rows.push_back(title);
    }
    section = heading;
    TShownRow shown;
    shown.Number = QString::number(r + 1);
    shown.Text = Q(row.Text);
    shown.Line =
        wild.isEmpty() ? shown.Text : QString(shown.Text).remove(wild + QStringLiteral(": "));
    shown.Share = Percent(row.Share, 4);
    shown.Lost = Percent(row.Lost, 4);
    if (row.HasExample) {
      shown.Example = ExampleText(row.Example, false);
      shown.HeldExample = ExampleText(row.Example, true);
    }
    rows.push_back(shown);
  }
  return rows;
}

void TfmStrategy::ShowCard() {
  ShowTitle();
  for (int i = 0; i < kFigures; ++i) figures_[static_cast<size_t>(i)]->setText(FigureText(i));
  if (!Busy()) {
    status_->setText(!failure_.isEmpty() ? failure_ : report_ ? Text("HowToPlay") : QString());
  }
  const std::vector<TShownRow> rows = ShownRows();
  grid_->clearSpans();
  grid_->setRowCount(static_cast<int>(rows.size()));
  QFont bold = grid_->font();
  bold.setBold(true);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const TShownRow& row = rows[static_cast<size_t>(r)];
    const std::array<QString, kColumns> cells = {row.Number, row.Line, row.Share, row.Lost,
                                                 row.Example};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(cells.at(static_cast<size_t>(c)));
      if (c == 0 || c == 2 || c == 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (row.Heading) item->setFont(bold);
      grid_->setItem(r, c, item);
    }
    if (row.Heading) grid_->setSpan(r, 1, 1, kColumns - 1);
  }
  UpdateButtons();
}

QString TfmStrategy::CopiedText() const {
  // The figures and headings as comments after "#", so that the text opens again as a
  // typed list.
  QStringList lines;
  lines << QStringLiteral("# ") + title_->text() << QStringLiteral("# ") + tableLine_->text();
  for (int i = 0; i < kFigures; ++i)
    lines << QStringLiteral("# %1 %2").arg(FigureName(i), FigureText(i));
  lines << QStringLiteral("#");
  lines << QStringLiteral("# %1\t%2\t%3\t%4")
               .arg(grid_->horizontalHeaderItem(1)->text(), grid_->horizontalHeaderItem(2)->text(),
                    grid_->horizontalHeaderItem(3)->text(), grid_->horizontalHeaderItem(4)->text());
  for (const TShownRow& row : ShownRows()) {
    if (row.Heading) {
      lines << QStringLiteral("# ") + row.Line;
    } else {
      lines << QStringLiteral("%1. %2\t# %3\t%4\t%5")
                   .arg(row.Number, row.Text, row.Share, row.Lost, row.Example);
    }
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

std::unique_ptr<QTextDocument> TfmStrategy::Document() const {
  QString html = QStringLiteral("<h2>%1</h2><p>%2</p><table cellpadding=\"2\">")
                     .arg(title_->text().toHtmlEscaped(), tableLine_->text().toHtmlEscaped());
  for (int i = 0; i < kFigures; ++i) {
    html += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td></tr>")
                .arg(FigureName(i).toHtmlEscaped(), FigureText(i).toHtmlEscaped());
  }
  html +=
      QStringLiteral("</table><br><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
  for (int c = 0; c < kColumns; ++c)
    html +=
        QStringLiteral("<th>%1</th>").arg(grid_->horizontalHeaderItem(c)->text().toHtmlEscaped());
  html += QStringLiteral("</tr>");
  for (const TShownRow& row : ShownRows()) {
    if (row.Heading) {
      html += QStringLiteral("<tr><td></td><td colspan=\"4\"><b>%1</b></td></tr>")
                  .arg(row.Line.toHtmlEscaped());
      continue;
    }
    html += QStringLiteral(
                "<tr><td align=\"right\">%1</td><td>%2</td><td align=\"right\">%3</td>"
                "<td align=\"right\">%4</td><td>%5</td></tr>")
                .arg(row.Number, row.Line.toHtmlEscaped(), row.Share, row.Lost, row.HeldExample);
  }
  html += QStringLiteral("</table>");
  auto document = std::make_unique<QTextDocument>();
  document->setHtml(html);
  return document;
}

void TfmStrategy::SavePdf(const QString& path) const {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title_->text());
    pdf.setPageSize(QPageSize(QPageSize::A4));
    Document()->print(&pdf);
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw DataFileError(S(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString())));
}

void TfmStrategy::PrintTo(QPrinter& printer) const {
  Document()->print(&printer);
}

}  // namespace tarnwick::app
