// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ElementRecord.h"

#include <QSqlRecord>
#include <QVariant>

#include <array>

namespace vmm {
namespace {

double number(const QSqlRecord &record, const char *field) {
  return record.value(QLatin1String(field)).toDouble();
}

int code(const QSqlRecord &record, const char *field) {
  return record.value(QLatin1String(field)).toInt();
}

qint16 elementId(const QSqlRecord &record, const char *field) {
  return static_cast<qint16>(record.value(QLatin1String(field)).toInt());
}

}  // namespace

ElementRecord ElementRecord::fromSqlRecord(const QSqlRecord &r) {
  ElementRecord e;
  e.elementid = elementId(r, "elementid");
  e.ElementType = r.value(QStringLiteral("ElementType")).toString();
  e.elementcolour = static_cast<quint32>(r.value(QStringLiteral("elementcolour")).toLongLong());
  e.Height = number(r, "Height");
  e.CoverProne = number(r, "CoverProne");
  e.CoverLow = number(r, "CoverLow");
  e.CoverMedium = number(r, "CoverMedium");
  e.CoverHigh = number(r, "CoverHigh");
  e.ProtectionProne = number(r, "ProtectionProne");
  e.ProtectionLow = number(r, "ProtectionLow");
  e.ProtectionMedium = number(r, "ProtectionMedium");
  e.ProtectionHigh = number(r, "ProtectionHigh");
  e.HindranceProne = number(r, "HindranceProne");
  e.HindranceLow = number(r, "HindranceLow");
  e.HindranceMedium = number(r, "HindranceMedium");
  e.HindranceHigh = number(r, "HindranceHigh");
  e.BlockHeight = number(r, "BlockHeight");
  e.All = number(r, "All");
  e.TopProtection = number(r, "TopProtection");
  e.InElemProtFlag = code(r, "InElemProtFlag");
  e.HEEffect = number(r, "HEEffect");
  e.SoldierMoveRateProne = number(r, "SoldierMoveRateProne");
  e.SoldierMoveRateCrouch = number(r, "SoldierMoveRateCrouch");
  e.SoldierMoveRateStanding = number(r, "SoldierMoveRateStanding");
  e.VehicleMoveRatePushed = number(r, "VehicleMoveRatePushed");
  e.VehicleMoveRateTruck = number(r, "VehicleMoveRateTruck");
  e.VehicleMoveRateArmCar = number(r, "VehicleMoveRateArmCar");
  e.VehicleMoveRateHalftrack = number(r, "VehicleMoveRateHalftrack");
  e.VehicleMoveRateTracked = number(r, "VehicleMoveRateTracked");
  e.BogChance = number(r, "BogChance");
  e.ImmobilizeChance = number(r, "ImmobilizeChance");
  e.TypeFlagsWall = number(r, "TypeFlagsWall");
  e.TypeFlagsSunken = number(r, "TypeFlagsSunken");
  e.TypeFlagsCrushable = number(r, "TypeFlagsCrushable");
  e.TypeFlagsCovered = number(r, "TypeFlagsCovered");
  e.TypeFlagsBridge = number(r, "TypeFlagsBridge");
  e.TypeFlagsSnow = number(r, "TypeFlagsSnow");
  e.TypeFlagsinterior = number(r, "TypeFlagsinterior");
  e.TypeFlagsRoad = number(r, "TypeFlagsRoad");
  e.TypeFlagsMinefield = number(r, "TypeFlagsMinefield");
  e.HowFlamable = number(r, "HowFlamable");
  e.explode = code(r, "explode");
  e.Level = number(r, "Level");
  e.RubbleTo = elementId(r, "RubbleTo");
  e.CrushTo = elementId(r, "CrushTo");
  e.BurnTo = elementId(r, "BurnTo");
  e.TreeType = number(r, "TreeType");
  return e;
}

QStringList ElementRecord::fieldNames() {
  return {QStringLiteral("elementid"),
          QStringLiteral("ElementType"),
          QStringLiteral("elementcolour"),
          QStringLiteral("Height"),
          QStringLiteral("CoverProne"),
          QStringLiteral("CoverLow"),
          QStringLiteral("CoverMedium"),
          QStringLiteral("CoverHigh"),
          QStringLiteral("ProtectionProne"),
          QStringLiteral("ProtectionLow"),
          QStringLiteral("ProtectionMedium"),
          QStringLiteral("ProtectionHigh"),
          QStringLiteral("HindranceProne"),
          QStringLiteral("HindranceLow"),
          QStringLiteral("HindranceMedium"),
          QStringLiteral("HindranceHigh"),
          QStringLiteral("BlockHeight"),
          QStringLiteral("All"),
          QStringLiteral("TopProtection"),
          QStringLiteral("InElemProtFlag"),
          QStringLiteral("HEEffect"),
          QStringLiteral("SoldierMoveRateProne"),
          QStringLiteral("SoldierMoveRateCrouch"),
          QStringLiteral("SoldierMoveRateStanding"),
          QStringLiteral("VehicleMoveRatePushed"),
          QStringLiteral("VehicleMoveRateTruck"),
          QStringLiteral("VehicleMoveRateArmCar"),
          QStringLiteral("VehicleMoveRateHalftrack"),
          QStringLiteral("VehicleMoveRateTracked"),
          QStringLiteral("BogChance"),
          QStringLiteral("ImmobilizeChance"),
          QStringLiteral("TypeFlagsWall"),
          QStringLiteral("TypeFlagsSunken"),
          QStringLiteral("TypeFlagsCrushable"),
          QStringLiteral("TypeFlagsCovered"),
          QStringLiteral("TypeFlagsBridge"),
          QStringLiteral("TypeFlagsSnow"),
          QStringLiteral("TypeFlagsinterior"),
          QStringLiteral("TypeFlagsRoad"),
          QStringLiteral("TypeFlagsMinefield"),
          QStringLiteral("HowFlamable"),
          QStringLiteral("explode"),
          QStringLiteral("Level"),
          QStringLiteral("RubbleTo"),
          QStringLiteral("CrushTo"),
          QStringLiteral("BurnTo"),
          QStringLiteral("TreeType")};
}

std::optional<QString> protectionFlagText(int code) {
  static const std::array<const char *, 6> texts = {"no prot in elem",
                                                    "prot in elem",
                                                    "linear sunken",
                                                    "linear elevated",
                                                    "partial prot (better if behind)",
                                                    "due to elevation"};
  if (code < 0 || code >= static_cast<int>(texts.size())) return std::nullopt;
  return QString::fromLatin1(texts[static_cast<std::size_t>(code)]);
}

std::optional<QString> explodeText(int code) {
  static const std::array<const char *, 7> texts = {"None",  "Crater", "Splash",  "Wood",
                                                    "Stone", "Brick",  "Pavement"};
  if (code < 0 || code >= static_cast<int>(texts.size())) return std::nullopt;
  return QString::fromLatin1(texts[static_cast<std::size_t>(code)]);
}

QString heightMetresText(double halfMetres) {
  return QString::number(halfMetres / 2.0);
}

}  // namespace vmm
