// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

class QSqlRecord;

namespace vmm {

// Every field of one tblElements record, typed as the windows use it.
// Game values are plain numbers; the captions give their units.
struct ElementRecord {
  qint16 elementid = 0;
  QString ElementType;
  quint32 elementcolour = 0;  // GDI colour value (red in the low byte)
  double Height = 0;          // half metres
  double CoverProne = 0, CoverLow = 0, CoverMedium = 0, CoverHigh = 0;  // 0 - 512
  double ProtectionProne = 0, ProtectionLow = 0, ProtectionMedium = 0,
         ProtectionHigh = 0;  // mm of steel
  double HindranceProne = 0, HindranceLow = 0, HindranceMedium = 0, HindranceHigh = 0;
  double BlockHeight = 0;
  double All = 0;            // "Block All"
  double TopProtection = 0;  // mm of steel
  int InElemProtFlag = 0;    // code 0..5, see protectionFlagText()
  double HEEffect = 0;       // divisor
  double SoldierMoveRateProne = 0, SoldierMoveRateCrouch = 0,
         SoldierMoveRateStanding = 0;  // secs per 2 m
  double VehicleMoveRatePushed = 0, VehicleMoveRateTruck = 0, VehicleMoveRateArmCar = 0,
         VehicleMoveRateHalftrack = 0, VehicleMoveRateTracked = 0;  // secs per 2 m
  double BogChance = 0, ImmobilizeChance = 0;                       // out of 128
  double TypeFlagsWall = 0, TypeFlagsSunken = 0, TypeFlagsCrushable = 0, TypeFlagsCovered = 0,
         TypeFlagsBridge = 0, TypeFlagsSnow = 0, TypeFlagsinterior = 0, TypeFlagsRoad = 0,
         TypeFlagsMinefield = 0;  // 1 = set
  double HowFlamable = 0;
  int explode = 0;  // code 0..6, see explodeText()
  double Level = 0;
  qint16 RubbleTo = -1, CrushTo = -1, BurnTo = -1;  // element ids, -1 for none
  double TreeType = 0;

  // Reads a record of "SELECT * FROM tblElements"; fields are matched without regard to case.
  static ElementRecord fromSqlRecord(const QSqlRecord &record);
  // The names of the fields of tblElements, as the catalogue spells them.
  static QStringList fieldNames();
};

// Text of an "Element Protection Flag" code; nothing for a code outside 0..5.
std::optional<QString> protectionFlagText(int code);
// Text of an "Explode" code; nothing for a code outside 0..6.
std::optional<QString> explodeText(int code);
// Height in metres as shown under "Height (m)": 5 half metres give "2.5", 4 give "2".
QString heightMetresText(double halfMetres);

}  // namespace vmm
