// The register map's table: one row per readable register (register, channel,
// code, value in the register's unit, origin), read from the register model.
// A typed code is checked here; a good one goes out as codeEntered and reaches
// the board only through whoever is connected to it.
#pragma once

#include "board/registers.h"
#include "boardlog/register_model.h"

#include <QAbstractTableModel>

namespace vq {

class RegisterMapModel : public QAbstractTableModel, private RegisterModelObserver {
  Q_OBJECT
public:
  enum Column { RegisterColumn, ChannelColumn, CodeColumn, ValueColumn, OriginColumn, ColumnCount };

  // Observes `registers`, which must outlive it.
  explicit RegisterMapModel(RegisterModel &registers, QObject *parent = nullptr);
  ~RegisterMapModel() override;

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;
  // A code cell takes a typed code; a refused one changes nothing.
  bool setData(const QModelIndex &index, const QVariant &value, int role) override;

  static WordAddress AddressOfRow(int row) { return ReadableRegisters.at(static_cast<size_t>(row)); }
  // The row as text, one cell after the other, tab-separated.
  QString RowText(int row) const;

  // Codes shown and typed in decimal rather than hexadecimal.
  void ShowDecimal(bool decimal);
  // Only a table on screen follows every board call; a hidden one catches up
  // when it is shown again.
  void SetFollowing(bool following);

signals:
  void codeEntered(WordAddress address, int code);
  void codeRefused(const QString &reason);

private:
  void OnRegistersChanged() override;
  QString CellText(int row, int column) const;
  void RefreshAll();

  RegisterModel &registers_;
  bool decimal_ = false;
  bool following_ = false;
  bool stale_ = false;
};

} // namespace vq
