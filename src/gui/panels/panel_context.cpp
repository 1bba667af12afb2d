#include "panels/panel_context.h"

#include "rules/number_rules.h"

namespace vq {

double ReadTypedNumber(const PanelContext &c, const QString &text) {
  const std::string typed = text.toStdString();
  const LeadingNumberRead read = ReadLeadingNumber(typed);
  if (!read.Whole)
    c.Board.Note(QStringLiteral("Read %1 as %2.")
                     .arg(QString::fromStdString(QuotedExcerpt(typed)), QString::number(read.Value, 'g', 10)));
  return read.Value;
}

std::optional<int32_t> ReadCoarseGain(const PanelContext &c, WordAddress coarseGain) {
  const Reading<int32_t> read = c.Board.ReadRegister(coarseGain);
  if (read.Answered())
    return read.Value;
  if (const auto known = c.Board.LastKnown(coarseGain)) {
    c.Board.Note(QStringLiteral("Took the range the program last knew for the channel."));
    return known;
  }
  c.Board.Note(QStringLiteral("Kept the range last taken, %1%2 V.")
                   .arg(QChar(0x00B1))
                   .arg(static_cast<double>(c.Values.OutputRange), 0, 'f', 3));
  return std::nullopt;
}

} // namespace vq
