// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vmm {

// The category table of element names that the picker and the tree browser offer.
// It is part of the program, not of the catalogue database: the database only maps
// a name to an id and its values. Names are kept exactly as the game spells them.
class ElementCategories {
 public:
  static inline const QString kAll = QStringLiteral("ALL");

  // The twelve categories in table order, "Barrier" first and "Water" last.
  static QStringList categoryNames();
  // The picker's category list: "ALL" followed by the twelve categories.
  static QStringList pickerCategoryNames();
  // Names of one category in table order; "ALL" gives all twelve lists one after
  // the other (284 entries, shared names twice). Unknown text gives an empty list.
  static QStringList elementsOf(const QString &category);
  // The same entries as a sorted drop-down list shows them: case-insensitive
  // alphabetical order with duplicates kept side by side.
  static QStringList sortedElementsOf(const QString &category);
  // Every different name of the table (255), in first-seen table order.
  static QStringList distinctElementNames();
  // The first category in table order that lists `name` (compared byte for byte);
  // empty when none does.
  static QString firstCategoryOf(const QString &name);

  // The five names the tree shows under "Structure" instead of the rubble names.
  static QStringList structureNames();

  // One fixed node of the tree browser: the root, "All Elements" and the categories.
  struct TreeNode {
    QString key;
    QString text;
    QString parentKey;  // empty for the root
    int picture = 0;    // 1-based index into the tree's 14 pictures
  };
  static QList<TreeNode> treeNodes();
  // Element names under one category node of the tree, in table order (no sorting).
  static QStringList treeElementsOf(const QString &category);

  // One element node under "All Elements": its name and the category whose picture it shows.
  struct TreeEntry {
    QString name;
    QString category;
  };
  // The 282 nodes under "All Elements", in category order.
  static QList<TreeEntry> allElementsTreeEntries();
  // The tree picture of a category node (0 when the text is no category).
  static int treePicture(const QString &category);
};

}  // namespace vmm
