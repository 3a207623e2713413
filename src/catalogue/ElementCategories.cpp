// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ElementCategories.h"

#include <QSet>

#include <algorithm>
#include <span>

namespace vmm {
namespace {

// clang-format off
constexpr const char *kBarrier[] = {
    "Wood Fence", "Stone Barrier", "Wire Fence", "Wood Barrier", "Fencerow", "Gate",
    "Steel Barrier", "Stone Fence", "Wood Wall", "Brick Wall", "Stone Wall",
};

constexpr const char *kExplosive[] = {
    "Flammable", "Minefield", "Explosives", "Snowy Minefield",
};

constexpr const char *kFoilage[] = {
    "Conifer Tree 2", "Conifer Tree 3", "Conifer Tree 1", "Leaves & Snowy Brush", "Big Tree 5",
    "Big Tree 4", "Big Tree 3", "Big Tree 2", "Big Tree 1", "Big Snowy Conifer Tree 5",
    "Big Snowy Conifer Tree 4", "Big Snowy Conifer Tree 3", "Leaves", "Small Fall Tree 1",
    "Small Snowy Conifer Tree 2", "Small Snowy Conifer Tree 1", "Leaves & Brush", "Snowy Brush",
    "Snowy Conifer Tree 1", "Snowy Conifer Tree 2", "Brush", "Small Fall Tree 2", "Bush",
    "Small Conifer Tree 2", "Small Conifer Tree 1", "Small Barren Tree 2", "Big Fall Tree 3",
    "Small Barren Tree 1", "Big Snowy Conifer Tree 2", "Snowy Conifer Tree 3", "Barren Tree 3",
    "Big Fall Tree 5", "Fall Tree 2", "Fall Tree 3", "Big Barren Tree 5", "Big Barren Tree 4",
    "Big Barren Tree 3", "Tree 3", "Big Barren Tree 1", "Tree 2", "Barren Tree 2",
    "Barren Tree 1", "Bare Branches", "Bare Branches & Snowy Brush", "Bare Branches & Snow",
    "Bare Branches & Mud", "Bare Branches & Brush", "Big Barren Tree 2", "Leaves & Mud",
    "Small Tree 1", "Big Fall Tree 4", "Small Tree 2", "Big Fall Tree 2", "Big Fall Tree 1",
    "Big Conifer Tree 5", "Big Conifer Tree 4", "Big Conifer Tree 3", "Hedge",
    "Big Conifer Tree 2", "Big Snowy Conifer Tree 1", "Big Conifer Tree 1", "Fall Tree 1",
    "Tree 1", "Leaves & Snow",
};

constexpr const char *kFortification[] = {
    "Sandbags", "Foxhole", "Trench", "Snowy Minefield", "Minefield", "Factory Fort. Int. Door",
    "Fortified Wood Door", "Pillbox Wall", "Pillbox Floor", "Pillbox Door",
    "Fortified Weapon Pit", "Weapon Pit Wall", "AT Trench", "Fortified Brick Window",
    "Fortified Wood Window", "Fortified Stone Door", "Fortified Foxhole", "Fortified Brick Door",
    "Fortified Stone Window",
};

constexpr const char *kGulleySlope[] = {
    "Crest", "Gulley", "Depression", "Muddy Gulley", "Snowy Bank", "Snowy Depression", "Bank",
    "Snowy Gulley", "Snowy Steep Slope", "Snow Crest", "Steep Slope", "Foxhole", "Trench",
};

constexpr const char *kItem[] = {
    "Hay Bail", "Rail Car", "Cannon", "Storage Bin", "Tall Post", "Tractor", "Headstone",
    "Crates", "Gun Barrels", "Short Post", "Bell", "Statue", "Furniture", "Turret", "Scrap Metal",
    "Machinery",
};

constexpr const char *kMisc[] = {
    "Sedrik Scorched Body", "Sedrik Mangled Burned", "Sedrik Mangled Body", "Sedrik Body",
};

constexpr const char *kRoadway[] = {
    "Bridge Wall", "Rail", "Pavement", "Paved Road", "Snowy Road", "Wood Bridge", "Muddy Road",
    "Dirt Road", "Under Bridge", "Bridge", "Brick Walkway L2", "Bridge Rubble",
};

constexpr const char *kRubble[] = {
    "Dead Animal", "Wood Debris", "Tall Debris", "Burned Out Floor", "Rocky Debris",
    "Stone Debris", "Steel Debris", "Shellhole", "Tall Wreck", "Wreck", "Destroyed Bridge",
    "Scrap Metal", "Bridge Rubble", "Wood Rubble", "Stone Rubble L3", "Brick Rubble",
    "Stone Rubble", "Stone Rubble L4",
};

constexpr const char *kStructure[] = {
    "Brick Door L2", "Brick Rowhouse L3", "Brick Rowhouse L2", "Brick Rowhouse Wall",
    "Brick Fort Wall L2", "Brick Floor", "Brick Floor L3", "Brick Door", "Brick Wall L2",
    "Brick Door L3", "Brick Wall L3", "Factory Door", "Brick Window L3", "Dirt Floor",
    "Brick Window", "Factory Window", "Factory Wall", "Factory Rail", "Factory Interior Wall",
    "Factory Interior Door", "Factory Floor", "Brick Floor L2", "Brick Window L2",
    "Stone Door L5", "Stone Rowhouse Wall", "Stone Rowhouse L3", "Stone Rowhouse L2",
    "Stone Floor", "Stone Floor L5", "Stone Floor L4", "Stone Floor L3", "Pillbox Window",
    "Stone Door", "Stone Wall L4", "Stone Door L4", "Stone Door L3", "Stone Door L2",
    "Snowy Floor", "Sheet Metal Window", "Sheet Metal Wall", "Roofless Floor",
    "Roofless Factory Floor", "Stone Floor L2", "Wood Door L3", "Wood Window", "Wood Window L3",
    "Wood Window L2", "Wood Wall L3", "Wood Wall L2", "Wood Rowhouse Wall", "Wood Floor",
    "Wood Floor L3", "Stone Wall L2", "Wood Door", "Stone Wall L3", "Wood Door L2",
    "Stone Window", "Stone Window L5", "Stone Window L4", "Stone Window L3", "Stone Window L2",
    "Stone Wall L5", "Sheet Metal Door", "Wood Floor L2", "Gateway L4", "Interior Factory Floor",
    "Interior Wall L3", "Interior Door", "Interior Wall L4", "Interior Wall L5", "Interior Wall",
    "Interior Door L5", "Interior Door L4", "Interior Door L3", "Interior Door L2",
    "Interior Wall L2", "Open Floor", "Wood Wall", "Brick Wall", "Stone Wall",
    "Factory Fort. Int. Door", "Fortified Wood Door", "Pillbox Wall", "Pillbox Floor",
    "Pillbox Door", "Fortified Weapon Pit", "Weapon Pit Wall", "AT Trench",
    "Fortified Brick Window", "Fortified Wood Window", "Fortified Stone Door",
    "Fortified Foxhole", "Fortified Brick Door", "Fortified Stone Window", "Wood Rubble",
    "Stone Rubble L3", "Brick Rubble", "Stone Rubble", "Stone Rubble L4", "Machinery",
};

constexpr const char *kTerrain[] = {
    "Heavy Snowy Field", "Plowed", "Sand", "Scorched Earth", "Lawn", "Muddy", "Slush", "Field",
    "Heavy Muddy Field", "Marsh", "High Grass", "Light Snowy Field", "Crops", "Light Muddy Field",
    "Dirt", "Earthen Mound", "Courtyard",
};

constexpr const char *kWater[] = {
    "Thin Ice", "Stream", "Frozen Water", "Muddy Stream", "Shallow Water", "Deep Water",
};

// clang-format on

struct Category {
  const char *name;
  std::span<const char *const> elements;
  int treePicture;
};

// Table order; the tree pictures follow the tree's node table.
const Category kCategories[] = {
    {"Barrier", kBarrier, 1},
    {"Explosive", kExplosive, 2},
    {"Foilage", kFoilage, 3},
    {"Fortification", kFortification, 4},
    {"Gulley/Slope", kGulleySlope, 10},
    {"Item", kItem, 5},
    {"Misc", kMisc, 12},
    {"Roadway", kRoadway, 6},
    {"Rubble", kRubble, 7},
    {"Structure", kStructure, 8},
    {"Terrain", kTerrain, 11},
    {"Water", kWater, 13},
};

constexpr int kRootPicture = 14;
constexpr int kAllElementsPicture = 9;

const Category *findCategory(const QString &name) {
  for (const Category &category : kCategories)
    if (name == QLatin1String(category.name)) return &category;
  return nullptr;
}

QStringList toList(std::span<const char *const> names) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(names.size()));
  for (const char *name : names) list.append(QString::fromLatin1(name));
  return list;
}

// Replaces the last `count` names before the final entry of `list`, or the last ones
// when `keepLast` is false, by `replacement`.
void replaceTail(QStringList &list, int count, bool keepLast, const QStringList &replacement) {
  const qsizetype end = keepLast ? list.size() - 1 : list.size();
  list.remove(end - count, count);
  for (qsizetype i = 0; i < replacement.size(); ++i) list.insert(end - count + i, replacement[i]);
}

}  // namespace

QStringList ElementCategories::categoryNames() {
  QStringList names;
  for (const Category &category : kCategories) names.append(QString::fromLatin1(category.name));
  return names;
}

QStringList ElementCategories::pickerCategoryNames() {
  return QStringList{kAll} + categoryNames();
}

QStringList ElementCategories::elementsOf(const QString &category) {
  if (category == kAll) {
    QStringList all;
    for (const Category &each : kCategories) all += toList(each.elements);
    return all;
  }
  const Category *found = findCategory(category);
  return found ? toList(found->elements) : QStringList{};
}

QStringList ElementCategories::sortedElementsOf(const QString &category) {
  QStringList names = elementsOf(category);
  std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  return names;
}

QStringList ElementCategories::distinctElementNames() {
  QStringList names;
  QSet<QString> seen;
  for (const QString &name : elementsOf(kAll))
    if (!seen.contains(name)) {
      seen.insert(name);
      names.append(name);
    }
  return names;
}

QString ElementCategories::firstCategoryOf(const QString &name) {
  for (const Category &category : kCategories)
    for (const char *listed : category.elements)
      if (name == QLatin1String(listed)) return QString::fromLatin1(category.name);
  return {};
}

QStringList ElementCategories::structureNames() {
  return {QStringLiteral("Wood Structure"), QStringLiteral("Stone Structure L3"),
          QStringLiteral("Brick Structure"), QStringLiteral("Stone Structure"),
          QStringLiteral("Stone Structure L4")};
}

QList<ElementCategories::TreeNode> ElementCategories::treeNodes() {
  QList<TreeNode> nodes{
      {QStringLiteral("R"), QStringLiteral("Element List"), {}, kRootPicture},
      {kAll, QStringLiteral("All Elements"), QStringLiteral("R"), kAllElementsPicture}};
  // The tree adds "Misc" last, after "Water".
  for (const Category &category : kCategories) {
    if (QLatin1String(category.name) == QLatin1String("Misc")) continue;
    const QString name = QString::fromLatin1(category.name);
    nodes.append({name, name, QStringLiteral("R"), category.treePicture});
  }
  const Category *misc = findCategory(QStringLiteral("Misc"));
  nodes.append(
      {QStringLiteral("Misc"), QStringLiteral("Misc"), QStringLiteral("R"), misc->treePicture});
  return nodes;
}

QStringList ElementCategories::treeElementsOf(const QString &category) {
  if (category == kAll) return {};
  QStringList names = elementsOf(category);
  // The five rubble names before "Machinery" stand as the "... Structure" names in the tree.
  if (category == QLatin1String("Structure")) replaceTail(names, 5, true, structureNames());
  return names;
}

QList<ElementCategories::TreeEntry> ElementCategories::allElementsTreeEntries() {
  QList<TreeEntry> entries;
  for (const Category &category : kCategories) {
    const QString categoryName = QString::fromLatin1(category.name);
    QStringList names = toList(category.elements);
    if (categoryName == QLatin1String("Roadway")) {
      replaceTail(names, 1, false, {QStringLiteral("Bridge Wall")});
    } else if (categoryName == QLatin1String("Rubble")) {
      replaceTail(names, 6, false,
                  {QStringLiteral("Bridge Wall"), QStringLiteral("Wood Wall"),
                   QStringLiteral("Brick Wall"), QStringLiteral("Stone Wall")});
    } else if (categoryName == QLatin1String("Structure")) {
      replaceTail(names, 5, true,
                  {QStringLiteral("Wood Wall"), QStringLiteral("Stone Wall L3"),
                   QStringLiteral("Brick Wall"), QStringLiteral("Stone Wall"),
                   QStringLiteral("Stone Wall L4")});
    }
    for (const QString &name : names) entries.append({name, categoryName});
  }
  return entries;
}

int ElementCategories::treePicture(const QString &category) {
  const Category *found = findCategory(category);
  return found ? found->treePicture : 0;
}

}  // namespace vmm
