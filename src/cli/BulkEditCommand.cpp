// SPDX-License-Identifier: GPL-3.0-or-later
// varga-map edit: one of the editor's bulk edits applied to a map file.
#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/MapInputs.h"
#include "edits/EditCommand.h"
#include "edits/RandomSource.h"

#include <array>

namespace vmm::cli {
namespace {

const QString kCommand = QStringLiteral("edit");

// The edit options and the bulk edit each one runs.
struct EditOption {
  const char *name;
  const char *valueName;
  const char *description;
};
constexpr std::array kEditOptions{
    EditOption{"fill-element", "ID", "Gives every Sector without an element the element ID."},
    EditOption{"clear-element", "ID", "Makes every Sector holding the element ID unassigned."},
    EditOption{"fill-height", "H", "Gives every Sector without a height the height H (0 to 100)."},
    EditOption{"clear-height", "H", "Makes every Sector with the height H unassigned."},
    EditOption{"randomise", "trees|leaves|brush",
               "Gives trees, leaves or brush a random variant of their kind."},
    EditOption{"replace-element", "FROM:TO",
               "Gives every Sector holding the element FROM the element TO."},
    EditOption{"replace-height", "FROM:TO",
               "Gives every Sector with the height FROM the height TO (0 to 100)."},
};

// The edit the options ask for, with its value; nothing (after the message) otherwise.
struct RequestedEdit {
  EditCommand command = EditCommand::FillElement;
  qint16 value = kUnassigned;  // the value written (TO of a replacement)
  // A replacement instead of the command: the value looked for, on `plane`.
  std::optional<qint16> replaced = std::nullopt;
  Plane plane = Plane::Element;
};

// The two numbers of a FROM:TO option; nothing (after the message) when it is not that.
std::optional<std::pair<qint16, qint16>> fromTo(const QString &option, const QString &text,
                                                Console &console) {
  const QStringList parts = text.split(u':');
  const std::optional<qint16> from = parts.size() == 2 ? parseInt16(parts[0]) : std::nullopt;
  const std::optional<qint16> to = parts.size() == 2 ? parseInt16(parts[1]) : std::nullopt;
  if (from && to) return std::pair{*from, *to};
  console.error(QStringLiteral("--%1 needs FROM:TO, two whole numbers from -32768 to 32767, "
                               "not \"%2\"\n%3")
                    .arg(option, text, helpHint(kCommand)));
  return std::nullopt;
}

std::optional<RequestedEdit> requestedEdit(const CommandParser &parser, Console &console) {
  QStringList given;
  for (const EditOption &option : kEditOptions)
    if (parser.isSet(QLatin1String(option.name))) given << QLatin1String(option.name);
  if (given.size() != 1 || parser.values(given.front()).size() != 1) {
    console.error(QStringLiteral("give exactly one of --fill-element, --clear-element, "
                                 "--fill-height, --clear-height, --randomise, "
                                 "--replace-element and --replace-height\n") +
                  helpHint(kCommand));
    return std::nullopt;
  }
  const QString option = given.front();
  const QString text = parser.value(option);
  if (option == QLatin1String("randomise")) {
    if (text == QLatin1String("trees")) return RequestedEdit{EditCommand::RandomiseTrees};
    if (text == QLatin1String("leaves")) return RequestedEdit{EditCommand::RandomiseLeaves};
    if (text == QLatin1String("brush")) return RequestedEdit{EditCommand::RandomiseBrush};
    console.error(QStringLiteral("--randomise must be trees, leaves or brush, not \"%1\"\n%2")
                      .arg(text, helpHint(kCommand)));
    return std::nullopt;
  }
  if (option.startsWith(QLatin1String("replace-"))) {
    const auto values = fromTo(option, text, console);
    if (!values) return std::nullopt;
    const Plane plane = option == QLatin1String("replace-height") ? Plane::Height : Plane::Element;
    if (plane == Plane::Height && !HeightColours::inRange(values->second)) {
      console.error(QStringLiteral("--replace-height must write a height from 0 to 100, not %1\n%2")
                        .arg(values->second)
                        .arg(helpHint(kCommand)));
      return std::nullopt;
    }
    return RequestedEdit{EditCommand::FillElement, values->second, values->first, plane};
  }
  const std::optional<qint16> value = parseInt16(text);
  if (!value) {
    console.error(QStringLiteral("--%1 needs a whole number from -32768 to 32767, not \"%2\"\n%3")
                      .arg(option, text, helpHint(kCommand)));
    return std::nullopt;
  }
  if (option == QLatin1String("fill-element"))
    return RequestedEdit{EditCommand::FillElement, *value};
  if (option == QLatin1String("clear-element"))
    return RequestedEdit{EditCommand::ClearElement, *value};
  if (option == QLatin1String("fill-height")) {
    if (!HeightColours::inRange(*value)) {
      console.error(QStringLiteral("--fill-height must be a height from 0 to 100, not %1\n%2")
                        .arg(*value)
                        .arg(helpHint(kCommand)));
      return std::nullopt;
    }
    return RequestedEdit{EditCommand::FillHeight, *value};
  }
  return RequestedEdit{EditCommand::ClearHeight, *value};
}

// A fill paints an element, so the element must be one the catalogue holds.
bool catalogueHolds(qint16 element, const QString &catalogueFile, Console &console) {
  EditorSession catalogueSession;
  if (!loadCatalogue(catalogueFile, 0, catalogueSession, console)) return false;
  if (catalogueSession.elementTable().hasElement(element)) return true;
  console.error(QStringLiteral("the catalogue holds no element with the id %1").arg(element));
  return false;
}

std::unique_ptr<RandomSource> randomSource(const std::optional<QString> &seed, Console &console) {
  if (!seed) return std::make_unique<MersenneRandomSource>();
  bool ok = false;
  const uint value = seed->toUInt(&ok, 10);
  if (!ok || seed->startsWith(u'+') || seed->trimmed() != *seed) {
    console.error(QStringLiteral("--seed needs a whole number from 0 to 4294967295, not \"%1\"\n%2")
                      .arg(*seed, helpHint(kCommand)));
    return nullptr;
  }
  return std::make_unique<MersenneRandomSource>(static_cast<quint32>(value));
}

}  // namespace

int runEdit(const QStringList &arguments) {
  Console console(kCommand);
  CommandParser parser(
      kCommand,
      QStringLiteral("Applies one of the editor's bulk edits to MAP as imported and writes a "
                     "Varga map file. XQuads and YQuads come from PICTURE when given, otherwise "
                     "from header lines 3 and 4 of MAP. Like the editor, an edit reaches every "
                     "Quad the map can hold, not only those the file lists."));
  parser.addPositional(QStringLiteral("MAP"), QStringLiteral("A Varga map text file."));
  parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                    QStringLiteral("The Varga map file to write."),
                    QStringLiteral("OUT")});
  for (const EditOption &option : kEditOptions)
    parser.addOption({QLatin1String(option.name), QLatin1String(option.description),
                      QLatin1String(option.valueName)});
  parser.addOption({QStringLiteral("seed"),
                    QStringLiteral("Seeds --randomise so that the same seed gives the same map."),
                    QStringLiteral("N")});
  parser.addOption({QStringLiteral("picture"),
                    QStringLiteral("The map picture that gives the map's size."),
                    QStringLiteral("PICTURE")});
  parser.addOption({QStringLiteral("catalogue"),
                    QStringLiteral("The catalogue to use instead of the editor's."),
                    QStringLiteral("FILE")});
  if (const std::optional<int> stop = parser.parse(arguments, console)) return *stop;

  const std::optional<QString> output = parser.single(QStringLiteral("output"), console);
  if (!output) return kFailure;
  if (output->isEmpty()) {
    console.error(QStringLiteral("give the map file to write with -o OUT\n") + helpHint(kCommand));
    return kFailure;
  }
  const std::optional<RequestedEdit> edit = requestedEdit(parser, console);
  if (!edit) return kFailure;
  const std::optional<QString> seed = parser.single(QStringLiteral("seed"), console);
  const std::optional<QString> picture = parser.single(QStringLiteral("picture"), console);
  const std::optional<QString> catalogueFile = parser.single(QStringLiteral("catalogue"), console);
  if (!seed || !picture || !catalogueFile) return kFailure;
  const bool randomises = edit->command == EditCommand::RandomiseTrees ||
                          edit->command == EditCommand::RandomiseLeaves ||
                          edit->command == EditCommand::RandomiseBrush;
  const bool seeded = parser.isSet(QStringLiteral("seed"));
  if (seeded && !randomises) {
    console.error(QStringLiteral("--seed goes only with --randomise\n") + helpHint(kCommand));
    return kFailure;
  }
  std::unique_ptr<RandomSource> random = randomSource(seeded ? seed : std::nullopt, console);
  if (!random) return kFailure;
  // Fills and replacements paint an element, which the catalogue must hold.
  const bool writesElement =
      edit->replaced ? edit->plane == Plane::Element : edit->command == EditCommand::FillElement;
  if (writesElement && !catalogueHolds(edit->value, *catalogueFile, console)) return kFailure;

  const std::unique_ptr<EditorSession> session =
      importMapWithDimensions(parser.positional(0), *picture, console);
  if (!session) return kFailure;
  session->document().CurrentDrawElement = edit->value;
  session->document().CurrentDrawHeight = edit->value;
  session->setRandomSource(std::move(random));
  const int changed = edit->replaced
                          ? session->replaceValue(edit->plane, *edit->replaced, edit->value)
                          : session->runEditCommand(edit->command);
  if (!writeMapFile(session->document(), MapEdition::Varga, *output, console)) return kFailure;
  const QString caption = edit->replaced ? EditorSession::replaceCaption(edit->plane)
                                         : editCommandCaption(edit->command);
  console.note(QStringLiteral("%1: %2 Sectors changed").arg(caption).arg(changed));
  return kSuccess;
}

}  // namespace vmm::cli
