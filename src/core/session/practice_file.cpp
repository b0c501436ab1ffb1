// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/practice_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <optional>

#include "errors.h"
#include "store/safe_files.h"
#include "text.h"

namespace tarnwick {

namespace {

constexpr std::string_view kFileHeader =
    "# Tarnwick practice sessions: one block per session, from its \"session\" line to its "
    "\"end\" line\n";
// Version 1 blocks play one line; version 2 blocks carry a "lines" line and every further
// line's draw on the hand lines. A one-line session is written as version 1, as it always
// was, so older readers keep reading it.
constexpr int kOneLineVersion = 1;
constexpr int kLinesVersion = 2;
// Version 3 blocks are drills: the lines line always, then the drill's two lines.
constexpr int kDrillVersion = 3;
constexpr std::string_view kDrillSeparator = " | ";
constexpr size_t kHandTokens = 28;
// A further line on a hand line: "line 2 next c c c c c final 3 pay 5".
constexpr size_t kLineTokens = 12;
constexpr size_t kMaxHandTokens = kHandTokens + (kMaxPracticeLines - 1) * kLineTokens;

// 64-bit FNV-1a of the bytes.
uint64_t Checksum(std::string_view bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Hex(uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

std::string FractionText(const TExactReturn& value) {
  return std::to_string(value.Paid) + "/" + std::to_string(value.Draws);
}

std::string HandLine(const TPracticeHand& hand) {
  // Appended word by word: GCC 12 warns falsely about a literal added to a temporary string.
  std::string line = "hand";
  const auto word = [&line](std::string_view text) {
    line += ' ';
    line += text;
  };
  const TPracticeVerdict& verdict = hand.Verdict;
  word(std::to_string(hand.Deal.Number));
  word("dealt");
  for (const int32_t code : hand.Deal.Cards) word(CardText(code));
  word("next");
  for (const int32_t code : hand.Deal.Next) word(CardText(code));
  for (const auto& [label, value] :
       {std::pair<const char*, std::string>{"hold", HoldPattern(verdict.Mask)},
        {"best", HoldPattern(verdict.BestMask)},
        {"ties", std::to_string(verdict.BestHolds)},
        {"ev", FractionText(verdict.Played)},
        {"bestev", FractionText(verdict.Best)},
        {"final", std::to_string(hand.Category)},
        {"pay", std::to_string(hand.Pay)}}) {
    word(label);
    word(value);
  }
  for (size_t more = 0; more < hand.More.size(); ++more) {
    word("line");
    word(std::to_string(more + 2));
    word("next");
    for (const int32_t code : hand.Deal.More[more]) word(CardText(code));
    word("final");
    word(std::to_string(hand.More[more].Category));
    word("pay");
    word(std::to_string(hand.More[more].Pay));
  }
  line += '\n';
  return line;
}

// Splits a line at its blanks into at most kMaxHandTokens words (more are counted, not
// kept); returns how many there are.
size_t SplitWords(std::string_view line, std::array<std::string_view, kMaxHandTokens>& words) {
  size_t count = 0;
  size_t at = 0;
  while (at < line.size()) {
    const size_t start = line.find_first_not_of(' ', at);
    if (start == std::string_view::npos) break;
    const size_t end = std::min(line.find(' ', start), line.size());
    if (count < words.size()) words[count] = line.substr(start, end - start);
    ++count;
    at = end;
  }
  return count;
}

// Takes the first line off `text` (a line ends at its line break, which is not part of it).
std::string_view TakeLine(std::string_view& text) {
  const size_t newline = text.find('\n');
  const std::string_view line = text.substr(0, newline);
  text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
  return Trim(line, "\r\n");
}

template <class TNumber>
TNumber Number(std::string_view text, TNumber lo, TNumber hi, const char* what) {
  TNumber value{};
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  // Written so that a NaN, which compares false with everything, is refused too.
  if (text.empty() || ec != std::errc() || ptr != end || !(value >= lo && value <= hi))
    throw DataFileError(std::string(what) + " '" + std::string(text) + "'");
  return value;
}

TExactReturn Fraction(std::string_view text) {
  const size_t slash = text.find('/');
  if (slash == std::string_view::npos)
    throw DataFileError("expected pay '" + std::string(text) + "'");
  TExactReturn value;
  value.Paid = Number<int64_t>(text.substr(0, slash), 0, INT64_MAX, "expected pay");
  value.Draws = Number<int64_t>(text.substr(slash + 1), 1, INT64_MAX, "number of draws");
  return value;
}

int HoldOf(std::string_view text) {
  const std::optional<int> mask = ParseHoldPattern(text);
  if (!mask) throw DataFileError("hold '" + std::string(text) + "'");
  return *mask;
}

// The value after a line's label, or the rest of the line.
std::string_view Labelled(std::string_view line, std::string_view label) {
  if (!line.starts_with(label) || line.size() <= label.size() || line[label.size()] != ' ')
    throw DataFileError("no " + std::string(label) + " line");
  return line.substr(label.size() + 1);
}

// The category and pay of a final hand, the pay checked against the category's.
void ReadSettled(std::string_view categoryWord, std::string_view payWord,
                 const TPracticeRecord& record, int32_t& category, int64_t& pay) {
  const auto categories = static_cast<int32_t>(record.Pays.size());
  category = Number<int32_t>(categoryWord, 0, categories, "category");
  pay = Number<int64_t>(payWord, 0, int64_t{kMaxPay} * kMaxCoins, "pay");
  const int64_t due = category < categories ? int64_t{record.Pays[static_cast<size_t>(category)]} *
                                                  (record.Coins / record.CoinBasis)
                                            : 0;
  if (pay != due) throw DataFileError("pay " + std::to_string(pay) + " for the category");
}

TPracticeHand ParseHand(std::string_view line, const TPracticeRecord& record) {
  std::array<std::string_view, kMaxHandTokens> words;
  const size_t count = SplitWords(line, words);
  static constexpr std::array<std::pair<size_t, std::string_view>, 10> kLabels = {{{0, "hand"},
                                                                                   {2, "dealt"},
                                                                                   {8, "next"},
                                                                                   {14, "hold"},
                                                                                   {16, "best"},
                                                                                   {18, "ties"},
                                                                                   {20, "ev"},
                                                                                   {22, "bestev"},
                                                                                   {24, "final"},
                                                                                   {26, "pay"}}};
  const size_t expected = kHandTokens + static_cast<size_t>(record.Lines - 1) * kLineTokens;
  if (count != expected) throw DataFileError("a hand line of " + std::to_string(count) + " words");
  for (const auto& [at, label] : kLabels) {
    if (words[at] != label)
      throw DataFileError("'" + std::string(words[at]) + "' for '" + std::string(label) + "'");
  }
  TPracticeHand hand;
  hand.Deal.Number = Number<int32_t>(words[1], 0, INT32_MAX, "deal number");
  // The jokers are told apart by their order, as a deck numbers them.
  std::vector<int32_t> seen;
  const auto card = [&](std::string_view text) {
    std::optional<int> code = ParseCard(text);
    if (!code) throw DataFileError("card '" + std::string(text) + "'");
    if (*code < 0) *code = NextJoker(seen);
    if (std::find(seen.begin(), seen.end(), *code) != seen.end())
      throw DataFileError("card " + std::string(text) + " twice");
    seen.push_back(*code);
    return *code;
  };
  for (size_t i = 0; i < kHandSize; ++i) hand.Deal.Cards[i] = card(words[3 + i]);
  const std::vector<int32_t> dealt = seen;
  for (size_t i = 0; i < kHandSize; ++i) hand.Deal.Next[i] = card(words[9 + i]);
  TPracticeVerdict& verdict = hand.Verdict;
  verdict.Mask = HoldOf(words[15]);
  verdict.BestMask = HoldOf(words[17]);
  verdict.BestHolds = Number<int32_t>(words[19], 1, kMaskCount, "ties");
  verdict.Played = Fraction(words[21]);
  verdict.Best = Fraction(words[23]);
  verdict.CoinBasis = record.CoinBasis;
  verdict.Coins = record.Coins;
  ReadSettled(words[25], words[27], record, hand.Category, hand.Pay);
  hand.Final = FinalHand(hand.Deal, verdict.Mask);
  // Each further line draws from the cards not dealt: its cards are checked against the
  // dealt ones, not against the other lines'.
  hand.Deal.More.resize(static_cast<size_t>(record.Lines - 1));
  hand.More.resize(hand.Deal.More.size());
  for (size_t more = 0; more < hand.More.size(); ++more) {
    const size_t at = kHandTokens + more * kLineTokens;
    for (const auto& [offset, label] :
         {std::pair<size_t, std::string_view>{0, "line"}, {2, "next"}, {8, "final"}, {10, "pay"}}) {
      if (words[at + offset] != label)
        throw DataFileError("'" + std::string(words[at + offset]) + "' for '" + std::string(label) +
                            "'");
    }
    if (Number<size_t>(words[at + 1], 2, static_cast<size_t>(kMaxPracticeLines), "line") !=
        more + 2)
      throw DataFileError("line " + std::string(words[at + 1]) + " out of order");
    seen = dealt;
    for (size_t i = 0; i < kHandSize; ++i) hand.Deal.More[more][i] = card(words[at + 3 + i]);
    TPracticeLine& result = hand.More[more];
    ReadSettled(words[at + 9], words[at + 11], record, result.Category, result.Pay);
    result.Final = FinalHand(hand.Deal, verdict.Mask, static_cast<int>(more) + 1);
  }
  return hand;
}

// The session of a block: its text from its session line up to its end line. The hand
// lines are read one at a time from the text, so a block of any length costs no memory
// beyond the hands it holds.
TPracticeRecord ParseBlock(std::string_view block) {
  // The lines line from version 2 on, the drill line in version 3.
  constexpr size_t kHeadingLines = 9;
  std::array<std::string_view, kHeadingLines> lines;
  if (block.empty()) throw DataFileError("a session without its heading");
  lines[0] = TakeLine(block);
  const int version =
      Number<int>(Labelled(lines[0], "session"), kOneLineVersion, kDrillVersion, "format version");
  const size_t headingLines = version == kOneLineVersion ? kHeadingLines - 2
                              : version == kLinesVersion ? kHeadingLines - 1
                                                         : kHeadingLines;
  for (size_t i = 1; i < headingLines; ++i) {
    if (block.empty()) throw DataFileError("a session without its heading");
    lines[i] = TakeLine(block);
  }
  TPracticeRecord record;
  record.Started = Number<int64_t>(Labelled(lines[1], "started"), INT64_MIN, INT64_MAX, "time");
  const std::string_view game = Labelled(lines[2], "game");
  const size_t blank = game.find(' ');
  record.GameId = Number<int32_t>(game.substr(0, blank), 0, INT32_MAX, "game");
  record.GameName = blank == std::string_view::npos ? "" : std::string(game.substr(blank + 1));
  // A carriage return inside the name is a blank, as the writer writes it.
  std::replace(record.GameName.begin(), record.GameName.end(), '\r', ' ');
  const std::string_view table = Labelled(lines[3], "table");
  const size_t space = table.find(' ');
  if (space == std::string_view::npos) throw DataFileError("a table without pays");
  record.CoinBasis = Number<int32_t>(table.substr(0, space), 1, kMaxCoins, "coin basis");
  for (std::string_view pays = table.substr(space + 1);;) {
    if (record.Pays.size() == static_cast<size_t>(kMaxCategories))
      throw DataFileError("more pays than categories");
    const size_t comma = pays.find(',');
    record.Pays.push_back(Number<int32_t>(pays.substr(0, comma), 0, kMaxPay, "pay"));
    if (comma == std::string_view::npos) break;
    pays.remove_prefix(comma + 1);
  }
  record.Coins = Number<int32_t>(Labelled(lines[4], "coins"), 1, kMaxCoins, "coins");
  if (record.Coins % record.CoinBasis != 0) throw DataFileError("coins against the coin basis");
  record.Seed = Number<uint64_t>(Labelled(lines[5], "seed"), 0, UINT64_MAX, "seed");
  const std::string_view hard = Labelled(lines[6], "hard");
  record.HardWithin =
      hard == "-" ? -1 : Number<double>(hard, 0, kMaxHardWithin, "hard-hands filter");
  if (version >= kLinesVersion) {
    // Only a drill writes the one line of a one-line session.
    const int32_t fewest = version == kDrillVersion ? 1 : 2;
    record.Lines = Number<int32_t>(Labelled(lines[7], "lines"), fewest, kMaxPracticeLines, "lines");
    if (!IsPracticeLines(record.Lines))
      throw DataFileError("lines " + std::to_string(record.Lines));
  }
  if (version == kDrillVersion) {
    const std::string_view drill = Labelled(lines[8], "drill");
    const size_t split = drill.find(kDrillSeparator);
    if (split == std::string_view::npos || split == 0 ||
        split + kDrillSeparator.size() >= drill.size())
      throw DataFileError("drill '" + std::string(drill) + "'");
    record.Drill = {std::string(drill.substr(0, split)),
                    std::string(drill.substr(split + kDrillSeparator.size()))};
  }
  for (size_t hand = 1; !block.empty(); ++hand) {
    try {
      record.Hands.push_back(ParseHand(TakeLine(block), record));
    } catch (const TarnwickError& error) {
      throw DataFileError("hand " + std::to_string(hand) + ": " + error.Message());
    }
  }
  return record;
}

}  // namespace

std::string PracticeSessionText(const TPracticeRecord& record) {
  std::string name = record.GameName;
  for (char& letter : name) {
    if (letter == '\n' || letter == '\r') letter = ' ';
  }
  const std::string pays = PaysText(record.Pays, ',');
  std::string hard = "-";
  if (record.HardWithin >= 0) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, record.HardWithin).ptr;
    hard.assign(text, end);
  }
  std::string block;
  const auto line = [&block](std::string_view label, const std::string& value) {
    block += label;
    block += ' ';
    block += value;
    block += '\n';
  };
  const bool oneLine = record.Lines == 1;
  const bool drill = record.Drill.size() == 2;
  line("session", std::to_string(drill     ? kDrillVersion
                                 : oneLine ? kOneLineVersion
                                           : kLinesVersion));
  line("started", std::to_string(record.Started));
  line("game", std::to_string(record.GameId) + ' ' + name);
  line("table", std::to_string(record.CoinBasis) + ' ' + pays);
  line("coins", std::to_string(record.Coins));
  line("seed", std::to_string(record.Seed));
  line("hard", hard);
  if (!oneLine || drill) line("lines", std::to_string(record.Lines));
  if (drill) {
    std::string lines = record.Drill[0];
    lines += kDrillSeparator;
    lines += record.Drill[1];
    // A line's words hold no "|" nor a line break; a break would cut the block, so it is
    // written as a blank.
    for (char& letter : lines) {
      if (letter == '\n' || letter == '\r') letter = ' ';
    }
    line("drill", lines);
  }
  for (const TPracticeHand& hand : record.Hands) block += HandLine(hand);
  line("end", Hex(Checksum(block)));
  return block;
}

TPracticeHistory ParsePracticeHistory(std::string_view text) {
  TPracticeHistory history;
  // Damage runs up to the next sound session: however many blocks and stray lines it
  // spans, it is one problem, so a file of junk lines costs neither memory nor a warning
  // per line.
  struct TDamage {
    size_t FirstLine = 0;
    size_t LastLine = 0;
    int Blocks = 0;
    std::string Reason;  // of the first damaged block
  };
  std::optional<TDamage> damage;
  const auto damaged = [&](size_t firstLine, size_t lastLine, std::string_view reason) {
    if (!damage) damage = TDamage{firstLine, lastLine, 0, std::string(reason)};
    damage->LastLine = lastLine;
    ++damage->Blocks;
  };
  const auto endDamage = [&] {
    if (!damage) return;
    ++history.Damaged;
    const std::string first = std::to_string(damage->FirstLine);
    history.Problems.push_back(
        damage->Blocks == 1 ? "the session at line " + first + " is damaged: " + damage->Reason
                            : "lines " + first + " to " + std::to_string(damage->LastLine) +
                                  " are damaged (" + std::to_string(damage->Blocks) +
                                  " blocks); the first, at line " + first + ": " + damage->Reason);
    damage.reset();
  };
  bool open = false;      // a block's session line was read and its end line not yet
  size_t blockStart = 0;  // byte offset of the open block's session line
  size_t blockLine = 0;
  size_t lineNumber = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t newline = text.find('\n', at);
    const size_t next = newline == std::string_view::npos ? text.size() : newline + 1;
    const std::string_view line = Trim(text.substr(at, next - at), "\r\n");
    ++lineNumber;
    if (line.starts_with("session")) {
      if (open) damaged(blockLine, lineNumber - 1, "it has no end");
      open = true;
      blockStart = at;
      blockLine = lineNumber;
    } else if (line.starts_with("end")) {
      if (!open) {
        damaged(lineNumber, lineNumber, "its beginning is lost");
      } else {
        const std::string_view block = text.substr(blockStart, at - blockStart);
        try {
          if (Labelled(line, "end") != Hex(Checksum(block))) throw DataFileError("wrong checksum");
          history.Sessions.push_back(ParseBlock(block));
          endDamage();
        } catch (const TarnwickError& error) {
          damaged(blockLine, lineNumber, error.Message());
        }
      }
      open = false;
    }
    at = next;
  }
  if (open) damaged(blockLine, lineNumber, "it has no end");
  endDamage();
  return history;
}

TPracticeHistory ReadPracticeHistory(const std::filesystem::path& folder) {
  const std::optional<std::string> text =
      ReadFileIfPresent(folder / kPracticeFileName, kMaxPracticeFileBytes);
  if (!text) return {};
  return ParsePracticeHistory(*text);
}

void AppendPracticeSession(const std::filesystem::path& folder, const TPracticeRecord& record,
                           const std::function<void()>& beforeRename) {
  const std::filesystem::path target = SaveTarget(folder / kPracticeFileName);
  const TFileLock lock(target);
  std::string text(kFileHeader);
  if (std::optional<std::string> old = ReadFileIfPresent(target, kMaxPracticeFileBytes)) {
    text = std::move(*old);
    // A file cut inside a line: the new block starts on a line of its own.
    if (!text.empty() && text.back() != '\n') text += '\n';
  }
  const std::string block = PracticeSessionText(record);
  // The file is never written larger than it may be read back.
  if (text.size() + block.size() > kMaxPracticeFileBytes) {
    throw DataFileError("Cannot keep the session in \"" + target.string() +
                        "\": the file would have " + std::to_string(text.size() + block.size()) +
                        " bytes, more than the " + std::to_string(kMaxPracticeFileBytes) +
                        " a session file may have; it is unchanged (move it elsewhere, and new "
                        "sessions go to a new file)");
  }
  text += block;
  RemoveStaleTemporaries(target);
  WriteFileAtomically(target, text, kMaxPracticeFileBytes, beforeRename);
}

}  // namespace tarnwick
