#include "windows/register_map_model.h"

#include "boardlog/register_values.h"

#include <QDateTime>

namespace vq {

namespace {

QString OriginText(const RegisterState &state) {
  switch (state.Origin) {
  case RegisterOrigin::Written:
    return QStringLiteral("written");
  case RegisterOrigin::Read: {
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(state.ReadAt.time_since_epoch());
    return QStringLiteral("read ") + QDateTime::fromMSecsSinceEpoch(since.count()).toString(QStringLiteral("HH:mm:ss"));
  }
  case RegisterOrigin::Reset:
    return QStringLiteral("reset");
  case RegisterOrigin::NotKnown:
    break;
  }
  return QStringLiteral("not known");
}

} // namespace

RegisterMapModel::RegisterMapModel(RegisterModel &registers, QObject *parent)
    : QAbstractTableModel(parent), registers_(registers) {
  registers_.AddObserver(this);
}

RegisterMapModel::~RegisterMapModel() {
  registers_.RemoveObserver(this);
}

int RegisterMapModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : ReadableRegisterCount;
}

int RegisterMapModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QString RegisterMapModel::CellText(int row, int column) const {
  const WordAddress address = AddressOfRow(row);
  const RegisterState state = registers_.State(address);
  switch (column) {
  case RegisterColumn:
    return QString::fromStdString(RegisterTitle(address));
  case ChannelColumn:
    return QString::fromStdString(ChannelTitle(address));
  case CodeColumn:
    return state.IsKnown() ? QString::fromStdString(CodeText(state.Code, decimal_)) : QString();
  case ValueColumn:
    return state.IsKnown() ? QString::fromStdString(RegisterValueText(address, state.Code, registers_)) : QString();
  case OriginColumn:
    return OriginText(state);
  default:
    return {};
  }
}

QVariant RegisterMapModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || index.row() >= ReadableRegisterCount || index.column() >= ColumnCount)
    return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole)
    return CellText(index.row(), index.column());
  if (role == Qt::TextAlignmentRole && index.column() == CodeColumn)
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

QVariant RegisterMapModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return {};
  switch (section) {
  case RegisterColumn:
    return QStringLiteral("Register");
  case ChannelColumn:
    return QStringLiteral("Channel");
  case CodeColumn:
    return decimal_ ? QStringLiteral("Code (dec)") : QStringLiteral("Code (hex)");
  case ValueColumn:
    return QStringLiteral("Value");
  case OriginColumn:
    return QStringLiteral("Origin");
  default:
    return {};
  }
}

Qt::ItemFlags RegisterMapModel::flags(const QModelIndex &index) const {
  Qt::ItemFlags result = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() == CodeColumn)
    result |= Qt::ItemIsEditable;
  return result;
}

bool RegisterMapModel::setData(const QModelIndex &index, const QVariant &value, int role) {
  if (!index.isValid() || index.column() != CodeColumn || role != Qt::EditRole)
    return false;
  const WordAddress address = AddressOfRow(index.row());
  const TypedCode typed = ReadTypedCode(value.toString().toStdString(), decimal_, address);
  if (!typed.Code) {
    emit codeRefused(QString::fromStdString(typed.Refusal));
    return false;
  }
  emit codeEntered(address, *typed.Code);
  // The row follows the board call's record, like every other row.
  return true;
}

QString RegisterMapModel::RowText(int row) const {
  QStringList cells;
  for (int column = 0; column < ColumnCount; ++column)
    cells << CellText(row, column);
  return cells.join(QLatin1Char('\t'));
}

void RegisterMapModel::ShowDecimal(bool decimal) {
  if (decimal == decimal_)
    return;
  decimal_ = decimal;
  emit headerDataChanged(Qt::Horizontal, CodeColumn, CodeColumn);
  RefreshAll();
}

void RegisterMapModel::SetFollowing(bool following) {
  following_ = following;
  if (following_ && stale_)
    RefreshAll();
}

void RegisterMapModel::OnRegistersChanged() {
  if (following_)
    RefreshAll();
  else
    stale_ = true;
}

void RegisterMapModel::RefreshAll() {
  stale_ = false;
  emit dataChanged(index(0, 0), index(ReadableRegisterCount - 1, ColumnCount - 1));
}

} // namespace vq
