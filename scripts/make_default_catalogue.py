#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes data/catalogue/default_catalogue.sql, the catalogue built into the editor.

The element names come from the category table in src/catalogue/ElementCategories.cpp,
so the program and its default catalogue cannot drift apart. Run from the repository root:

    python3 scripts/make_default_catalogue.py
"""

import colorsys
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
CATEGORIES_CPP = ROOT / "src/catalogue/ElementCategories.cpp"
OUTPUT = ROOT / "data/catalogue/default_catalogue.sql"

STRUCTURE_NAMES = ["Wood Structure", "Stone Structure L3", "Brick Structure",
                   "Stone Structure", "Stone Structure L4"]
IMPASSABLE = 255  # move rate (secs per 2 m) of an element a unit cannot cross

# Fixed ids: the randomise commands treat these ids as interchangeable variants.
FIXED_IDS = {
    1: "Bare Branches & Brush",  # the odd result of "Randomise Brush"
    8: "Brush", 190: "Bush",     # brush family
    10: "Leaves", 11: "Leaves & Brush",  # leaf family
    179: "Small Tree 2",
}
TREE_FAMILIES = [
    ([173, 174, 175], "Conifer Tree"),
    ([169, 170, 171, 172, 127], "Big Tree"),
    ([142, 143, 144, 145, 126], "Big Conifer Tree"),
    ([159, 160, 161, 162, 163], "Big Snowy Conifer Tree"),
    ([149, 150, 151, 152, 153], "Big Fall Tree"),
    ([156, 157, 158, 9, 124], "Big Barren Tree"),
    ([146, 147, 148], "Snowy Conifer Tree"),
    ([167, 168, 183], "Fall Tree"),
    ([185, 186], "Small Conifer Tree"),
    ([181, 182], "Small Snowy Conifer Tree"),
    ([125, 184], "Small Fall Tree"),
    ([154, 155], "Small Barren Tree"),
    ([164, 165, 166], "Barren Tree"),
]
for ids, kind in TREE_FAMILIES:
    for n, element_id in enumerate(ids, start=1):
        FIXED_IDS[element_id] = f"{kind} {n}"
# The four-member family: the three "Tree" variants and the first small one.
for element_id, name in zip([187, 188, 180, 128],
                            ["Tree 1", "Tree 2", "Tree 3", "Small Tree 1"]):
    FIXED_IDS[element_id] = name

FIELDS = [
    "elementid", "ElementType", "elementcolour", "Height",
    "CoverProne", "CoverLow", "CoverMedium", "CoverHigh",
    "ProtectionProne", "ProtectionLow", "ProtectionMedium", "ProtectionHigh",
    "HindranceProne", "HindranceLow", "HindranceMedium", "HindranceHigh",
    "BlockHeight", '"All"', "TopProtection", "InElemProtFlag", "HEEffect",
    "SoldierMoveRateProne", "SoldierMoveRateCrouch", "SoldierMoveRateStanding",
    "VehicleMoveRatePushed", "VehicleMoveRateTruck", "VehicleMoveRateArmCar",
    "VehicleMoveRateHalftrack", "VehicleMoveRateTracked",
    "BogChance", "ImmobilizeChance",
    "TypeFlagsWall", "TypeFlagsSunken", "TypeFlagsCrushable", "TypeFlagsCovered",
    "TypeFlagsBridge", "TypeFlagsSnow", "TypeFlagsinterior", "TypeFlagsRoad",
    "TypeFlagsMinefield", "HowFlamable", "explode", "Level",
    "RubbleTo", "CrushTo", "BurnTo", "TreeType",
]
FLAGS = {"wall": "TypeFlagsWall", "sunken": "TypeFlagsSunken", "crush": "TypeFlagsCrushable",
         "covered": "TypeFlagsCovered", "bridge": "TypeFlagsBridge", "snow": "TypeFlagsSnow",
         "interior": "TypeFlagsinterior", "road": "TypeFlagsRoad", "mine": "TypeFlagsMinefield"}

# "All" is an SQL keyword, so it stands quoted wherever the script names it.

# Explode codes: 0 None, 1 Crater, 2 Splash, 3 Wood, 4 Stone, 5 Brick, 6 Pavement.
# Protection flags: 0 none, 1 in element, 2 linear sunken, 3 linear elevated,
# 4 partial (better if behind), 5 due to elevation.


def read_categories():
    text = CATEGORIES_CPP.read_text()
    arrays = {m.group(1): re.findall(r'"([^"]*)"', m.group(2))
              for m in re.finditer(r"const char \*k(\w+)\[\] = \{(.*?)\};", text, re.S)}
    order = re.findall(r'\{"([^"]+)", k(\w+), \d+\}', text)
    return [(name, arrays[ident]) for name, ident in order]


def profile(name):
    """Game values of an element, chosen from what its name says it is."""
    v = dict(Height=0, cover=(0, 0, 0, 0), prot=(0, 0, 0, 0), hind=(0, 0, 0, 0),
             BlockHeight=0, All=0, TopProtection=0, InElemProtFlag=0, HEEffect=1,
             soldier=(6, 3, 2), vehicle=(4, 1, 1, 1, 1), BogChance=0, ImmobilizeChance=0,
             flags=set(), HowFlamable=0, explode=1, TreeType=0)
    words = name.split()
    has = lambda *keys: any(k in name for k in keys)
    material = ("Stone" if has("Stone", "Pillbox", "Statue", "Headstone") else
                "Brick" if has("Brick", "Factory") else
                "Steel" if has("Steel", "Sheet Metal", "Scrap", "Rail Car", "Machinery", "Wire",
                               "Turret", "Cannon", "Gun Barrels", "Tractor", "Bell", "Wreck")
                else "Wood" if has("Wood", "Fence", "Gate", "Crates", "Furniture") else None)
    explode_of = {"Wood": 3, "Stone": 4, "Brick": 5, "Steel": 0, None: 1}
    wall_prot = {"Wood": 40, "Brick": 300, "Stone": 400, "Steel": 15, None: 100}
    if "Snow" in name or "Frozen" in name or "Ice" in name:
        v["flags"].add("snow")

    if has("Tree"):
        size = 8 if "Small" in words else 24 if "Big" in words else 16
        v.update(Height=size, cover=(96, 128, 160, 160), prot=(20, 30, 40, 40),
                 hind=(40, 40, 40, 40), InElemProtFlag=1, HEEffect=2, soldier=(7, 4, 3),
                 vehicle=(IMPASSABLE, IMPASSABLE, IMPASSABLE, 12 if size == 8 else IMPASSABLE,
                          6 if size == 8 else 20),
                 HowFlamable=2 if "Snowy" in name else 5, explode=3,
                 TreeType=5 if "Barren" in name else 4 if "Fall" in name else
                 3 if "Snowy" in name else 2 if "Conifer" in name else 1)
        if size == 8:
            v["flags"].add("crush")
    elif has("Brush", "Bush", "Hedge"):
        v.update(Height=4 if has("Hedge", "Bush") else 2, cover=(128, 96, 48, 0),
                 hind=(40, 30, 20, 0), soldier=(9, 5, 3), vehicle=(8, 2, 2, 2, 1),
                 HowFlamable=6, explode=0)
        v["flags"].add("crush")
    elif has("Leaves", "Bare Branches"):
        v.update(cover=(24, 8, 0, 0), hind=(10, 5, 0, 0), soldier=(7, 3, 2), HowFlamable=5)
        v["flags"].add("crush")
    elif has("Minefield"):
        v.update(soldier=(8, 4, 3), explode=1)
        v["flags"].add("mine")
    elif has("Flammable", "Explosives"):
        v.update(Height=2, cover=(64, 32, 0, 0), HowFlamable=10, explode=1)
    elif has("Trench", "Foxhole", "Weapon Pit") and "Wall" not in name:
        fortified = "Fortified" in name
        v.update(cover=(384, 256, 96, 0), prot=(400, 300, 100, 0), hind=(20, 20, 20, 0),
                 InElemProtFlag=2 if "Trench" in name else 1, HEEffect=4,
                 TopProtection=50 if fortified else 0, soldier=(8, 5, 4),
                 vehicle=(IMPASSABLE,) * 4 + ((IMPASSABLE,) if "AT" in words else (15,)))
        v["flags"].add("sunken")
    elif has("Sandbags", "Weapon Pit Wall"):
        v.update(Height=2, cover=(320, 256, 128, 0), prot=(300, 300, 150, 0), BlockHeight=2,
                 InElemProtFlag=4, HEEffect=4, soldier=(14, 10, 8),
                 vehicle=(IMPASSABLE,) * 4 + (12,), explode=1)
    elif has("Gulley", "Depression"):
        v.update(cover=(192, 128, 32, 0), prot=(200, 150, 50, 0),
                 InElemProtFlag=2 if "Gulley" in name else 1, soldier=(8, 5, 4),
                 vehicle=(12, 8, 8, 6, 4))
        v["flags"].add("sunken")
    elif has("Crest", "Bank", "Slope", "Mound"):
        steep = "Steep" in name
        v.update(Height=2, cover=(160, 96, 32, 0), prot=(150, 100, 40, 0),
                 InElemProtFlag=5 if has("Crest", "Slope") else 3,
                 soldier=(10, 7, 5) if steep else (7, 4, 3),
                 vehicle=(IMPASSABLE, IMPASSABLE, IMPASSABLE, 20, 10) if steep else (8, 4, 4, 3, 2))
    elif has("Bridge"):
        if has("Destroyed", "Rubble"):
            v.update(Height=2, cover=(160, 96, 32, 0), prot=(80, 60, 20, 0), soldier=(14, 9, 6),
                     vehicle=(IMPASSABLE,) * 5, explode=4)
        elif "Under" in words:
            v.update(cover=(256, 256, 128, 64), TopProtection=300, InElemProtFlag=1, HEEffect=4,
                     soldier=(8, 4, 3), vehicle=(6, 3, 3, 2, 2), explode=1)
            v["flags"].add("covered")
        elif "Wall" in words:
            v.update(Height=2, cover=(320, 256, 96, 0), prot=(400, 400, 200, 0), BlockHeight=2,
                     InElemProtFlag=4, soldier=(IMPASSABLE,) * 3, vehicle=(IMPASSABLE,) * 5,
                     explode=4)
            v["flags"].update({"bridge", "wall"})
        else:
            v.update(soldier=(5, 2, 1), vehicle=(3, 1, 1, 1, 1),
                     explode=3 if "Wood" in words else 6, HowFlamable=4 if "Wood" in words else 0)
            v["flags"].add("bridge")
    elif has("Road", "Pavement", "Walkway", "Rail", "Courtyard") and not has("Rail Car",
                                                                            "Factory Rail"):
        paved = has("Paved", "Pavement", "Walkway", "Courtyard")
        muddy = "Muddy" in words
        v.update(soldier=(5, 2, 1), vehicle=(6, 2, 2, 2, 2) if muddy else (3, 1, 1, 1, 1),
                 explode=6 if paved else 1, BogChance=24 if muddy else 0)
        if "Rail" not in words and "Courtyard" not in words:
            v["flags"].add("road")
    elif has("Stream", "Water", "Ice", "Marsh"):
        deep = "Deep" in words
        frozen = has("Frozen", "Ice")
        v.update(soldier=(IMPASSABLE,) * 3 if deep else (14, 9, 6),
                 vehicle=(IMPASSABLE,) * 5 if deep else (30, 12, 10, 8, 6),
                 BogChance=0 if deep else 64 if has("Thin", "Marsh") else 24 if frozen else 40,
                 ImmobilizeChance=0 if deep else 32 if "Thin" in words else 12,
                 explode=1 if frozen and "Thin" not in words else 2)
    elif has("Debris", "Rubble", "Shellhole", "Wreck", "Scrap", "Dead Animal", "Burned Out"):
        if "Shellhole" in words:
            v.update(cover=(192, 96, 0, 0), prot=(150, 80, 0, 0), InElemProtFlag=1,
                     soldier=(8, 5, 4), vehicle=(20, 10, 8, 6, 4))
            v["flags"].add("sunken")
        elif "Burned Out" in name:
            v.update(cover=(32, 16, 0, 0), soldier=(7, 4, 3), vehicle=(8, 4, 4, 3, 2), explode=3)
        else:
            tall = has("Tall", "Wreck", "Rubble")
            v.update(Height=4 if tall else 1, cover=(192, 160, 96, 32) if tall else (96, 48, 16, 0),
                     prot=(wall_prot[material] // 4,) * 3 + (0,), hind=(40, 40, 30, 10),
                     InElemProtFlag=4 if tall else 1, HEEffect=2, soldier=(12, 8, 5),
                     vehicle=(IMPASSABLE, 20, 16, 10, 6), ImmobilizeChance=16,
                     explode=explode_of[material])
    elif has("Sedrik"):
        v.update(cover=(16, 0, 0, 0), soldier=(7, 4, 3), explode=0)
    elif has("Hay", "Rail Car", "Cannon", "Storage", "Post", "Tractor", "Headstone", "Crates",
             "Gun Barrels", "Bell", "Statue", "Furniture", "Turret", "Machinery"):
        tall = has("Rail Car", "Tall", "Statue", "Turret", "Tractor", "Machinery", "Storage")
        v.update(Height=6 if tall else 2, cover=(256, 192, 128, 64) if tall else (128, 64, 16, 0),
                 prot=(wall_prot[material] // 2,) * 3 + (0,), hind=(30, 30, 20, 10),
                 InElemProtFlag=4, HEEffect=2, soldier=(IMPASSABLE,) * 3 if tall else (9, 6, 4),
                 vehicle=(IMPASSABLE,) * 4 + (15,), explode=explode_of[material],
                 HowFlamable=8 if has("Hay", "Crates", "Furniture") else 0)
        if not tall:
            v["flags"].add("crush")
    elif has("Fence", "Barrier") or "Gate" in words:
        solid = material in ("Stone", "Steel") and "Wire" not in words
        v.update(Height=3, cover=(96, 128, 64, 16) if not solid else (256, 320, 128, 16),
                 prot=(wall_prot[material] // 2,) * 3 + (0,),
                 hind=(20, 20, 20, 10), BlockHeight=3, InElemProtFlag=4, soldier=(12, 8, 6),
                 vehicle=(IMPASSABLE, IMPASSABLE, IMPASSABLE, 10, 4),
                 explode=explode_of[material], HowFlamable=4 if material == "Wood" else 0)
        v["flags"].add("wall")
        if not solid:
            v["flags"].add("crush")
    elif has("Floor", "Courtyard"):
        roofed = not has("Roofless", "Open", "Snowy", "Dirt")
        v.update(cover=(128, 64, 32, 0) if roofed else (0, 0, 0, 0),
                 TopProtection=wall_prot[material] // 10 if roofed else 0,
                 InElemProtFlag=1 if roofed else 0, HEEffect=4 if roofed else 1,
                 soldier=(5, 3, 2), vehicle=(IMPASSABLE,) * 5,
                 explode=explode_of[material] if material else 1,
                 HowFlamable=6 if material == "Wood" else 0)
        if roofed:
            v["flags"].add("covered")
        if has("Interior", "Factory Floor") and roofed:
            v["flags"].add("interior")
    elif has("Field", "Plowed", "Sand", "Scorched", "Lawn", "Muddy", "Slush", "Grass", "Crops",
             "Dirt"):
        v.update(soldier=(7, 4, 2), vehicle=(5, 2, 2, 1, 1))
    else:  # walls, doors, windows and other parts of buildings and fortifications
        door, window = has("Door", "Gateway"), "Window" in name
        fortified = has("Fort", "Pillbox")
        prot = wall_prot[material] * (2 if fortified else 1)
        v.update(Height=6, cover=(512, 512, 512, 512) if not (door or window) else
                 (256, 320, 384, 256) if window else (256, 256, 256, 256),
                 prot=(prot,) * 4 if not window else (prot, prot, prot // 2, prot // 4),
                 hind=(64,) * 4, BlockHeight=6, All=0 if (door or window) else 1,
                 InElemProtFlag=4 if window else 1, HEEffect=8 if fortified else 4,
                 soldier=(8, 4, 3) if door else (20, 14, 10) if window else (IMPASSABLE,) * 3,
                 vehicle=(IMPASSABLE,) * 5, explode=explode_of[material],
                 HowFlamable=6 if material == "Wood" else 0)
        if not door and not window:
            v["flags"].add("wall")
        if "Interior" in name or "Int." in words:
            v["flags"].add("interior")
    if "Mud" in name or "Muddy" in words or "Plowed" in words:
        v.update(BogChance=max(v["BogChance"], 40), ImmobilizeChance=max(v["ImmobilizeChance"], 8))
    if has("Field", "Grass", "Crops", "Lawn"):
        v.update(cover=(96, 64, 16, 0) if has("High", "Crops") else (16, 0, 0, 0),
                 HowFlamable=7 if has("High", "Crops", "Field") and "Snowy" not in name else 2)
    if "Sand" in words or "Slush" in words:
        v.update(BogChance=20, soldier=(8, 4, 3), vehicle=(8, 3, 3, 2, 2))
    return v


def level_of(name):
    m = re.search(r"\bL(\d)$", name)
    return int(m.group(1)) if m else 1 if has_structure_word(name) else 0


def has_structure_word(name):
    return any(w in name for w in ("Wall", "Door", "Window", "Floor", "Rowhouse", "Gateway",
                                   "Structure", "Pillbox"))


def turns_into(name, ids):
    """RubbleTo, CrushTo and BurnTo: the element this one becomes, or -1."""
    def id_of(candidate):
        return ids.get(candidate, -1)
    level = re.search(r" (L\d)$", name)
    suffix = f" {level.group(1)}" if level else ""
    rubble = crush = burn = -1
    if "Tree" in name and "Barren" not in name:
        bare = re.sub(r"(Snowy |Fall )?(Conifer )?Tree", "Barren Tree", name)
        burn, crush, rubble = id_of(bare), id_of("Bare Branches"), id_of("Wood Debris")
    elif "Tree" in name:
        burn, crush, rubble = id_of("Scorched Earth"), id_of("Bare Branches"), id_of("Wood Debris")
    elif any(k in name for k in ("Brush", "Bush", "Hedge", "Leaves", "Field", "Grass", "Crops")):
        burn = id_of("Scorched Earth")
        if any(k in name for k in ("Brush", "Bush", "Hedge")):
            crush = id_of("Bare Branches & Brush") if name != "Bare Branches & Brush" else -1
    elif "Sedrik" in name:
        crush = id_of("Sedrik Mangled Body") if name == "Sedrik Body" else -1
        burn = id_of("Sedrik Mangled Burned" if "Mangled" in name else "Sedrik Scorched Body")
        burn = -1 if burn == id_of(name) else burn
    elif "Bridge" in name and "Rubble" not in name and "Destroyed" not in name and "Under" not in name:
        rubble = id_of("Destroyed Bridge" if "Wall" not in name else "Bridge Rubble")
        if "Wood" in name:
            burn = id_of("Destroyed Bridge")
    elif has_structure_word(name) or any(k in name for k in ("Fence", "Barrier", "Gate",
                                                             "Sandbags")):
        for material, wreck in (("Wood", "Wood Rubble"), ("Brick", "Brick Rubble"),
                                ("Factory", "Brick Rubble"), ("Stone", "Stone Rubble"),
                                ("Pillbox", "Stone Rubble"), ("Sheet Metal", "Steel Debris"),
                                ("Steel", "Steel Debris"), ("Wire", "Steel Debris"),
                                ("Fencerow", "Wood Debris"), ("Gate", "Wood Debris"),
                                ("Fence", "Wood Debris"),
                                ("Sandbags", "Rocky Debris")):
            if material in name:
                candidate = wreck + suffix if id_of(wreck + suffix) >= 0 else wreck
                rubble = id_of(candidate)
                break
        if "Fence" in name or "Gate" in name or "Fencerow" in name:
            crush = id_of("Wood Debris") if "Wire" not in name else id_of("Steel Debris")
        if "Wood" in name:
            burn = id_of("Burned Out Floor")
        if rubble < 0:  # plaster and timber of unnamed building parts
            rubble = id_of("Tall Debris")
        if rubble == id_of(name):
            rubble = -1
    elif any(k in name for k in ("Tractor", "Rail Car", "Cannon", "Turret")):
        rubble, burn = id_of("Wreck"), id_of("Wreck")
    elif any(k in name for k in ("Crates", "Furniture", "Hay Bail")):
        crush, burn = id_of("Wood Debris"), id_of("Scorched Earth")
    return rubble, crush, burn


def hsv(h, s, v):
    r, g, b = colorsys.hsv_to_rgb((h % 360) / 360.0, s, v)
    return round(r * 255), round(g * 255), round(b * 255)


# Colours by the category an element is shown with first: hue ranges in degrees.
PALETTES = {
    "Barrier": ([24, 32, 40, 48], [0.55, 0.8, 1.0], [0.6, 0.8, 1.0]),          # oranges
    "Explosive": ([285, 300, 315], [0.6, 0.9], [0.7, 0.95]),                  # magentas
    "Foilage": (list(range(80, 165, 8)), [0.45, 0.7, 0.95], [0.35, 0.5, 0.65, 0.8, 0.95]),
    "Fortification": ([52, 62, 72, 82], [0.4, 0.65, 0.9], [0.3, 0.42, 0.54, 0.66, 0.78]),  # olive drab
    "Gulley/Slope": ([18, 26, 34], [0.35, 0.55, 0.75], [0.4, 0.55, 0.7]),      # earth browns
    "Item": ([44, 52, 60, 180], [0.6, 0.85, 1.0], [0.75, 0.9, 1.0]),          # golds
    "Misc": ([325, 340], [0.35, 0.6], [0.8, 1.0]),                            # pinks
    "Roadway": ([0, 30, 220], [0.0, 0.12, 0.25], [0.35, 0.5, 0.65, 0.8]),      # greys, browns
    "Rubble": ([15, 30, 45, 210], [0.05, 0.22, 0.4], [0.28, 0.38, 0.48, 0.58, 0.68, 0.78]),     # dark greys
    "Structure": ([322, 332, 342, 352, 2, 12, 22], [0.35, 0.55, 0.75, 0.95],
                  [0.35, 0.48, 0.61, 0.74, 0.87, 1.0]),                        # reds
    "Terrain": ([36, 48, 60, 72, 90], [0.15, 0.35, 0.55], [0.55, 0.75, 0.95]),  # fields
    "Water": ([190, 205, 220, 235], [0.5, 0.75, 1.0], [0.6, 0.8, 1.0]),        # blues
}
MIN_DISTANCE = 24  # RGB distance below which two colours of one category look alike


def distance(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b)) ** 0.5


def candidates(category, name):
    hues, sats, vals = PALETTES[category]
    if "Snow" in name or "Frozen" in name or "Ice" in name:
        sats, vals = [0.1, 0.22, 0.34, 0.46], [0.78, 0.89, 1.0]  # pale, towards white
    elif "Fall" in name:
        hues = [40, 48, 56, 64]
    elif "Barren" in name or "Bare" in name:
        hues, sats = [20, 35, 50, 65, 80], [0.12, 0.26, 0.4]  # grey-browns of bare wood
        vals = [0.3, 0.42, 0.54, 0.66, 0.78, 0.9]
    # Spread consecutive picks: vary value fastest, then hue, then saturation.
    return [hsv(h, s, v) for s in sats for h in hues for v in vals]


def assign_colours(categories, home):
    colours = {}
    for category, names in categories:
        for name in names:
            if name in colours or home[name] != category:
                continue
            taken = [colours[n] for c, ns in categories if name in ns for n in ns if n in colours]
            for rgb in candidates(category, name):
                if rgb != (0, 0, 0) and rgb not in colours.values() and \
                        all(distance(rgb, t) >= MIN_DISTANCE for t in taken):
                    colours[name] = rgb
                    break
            else:
                raise SystemExit(f"no colour left for {name} in {category}")
    return colours


def height_colours():
    bands = [(0, 70, 140), (0, 110, 50), (40, 150, 40), (120, 180, 50), (200, 200, 60),
             (220, 160, 50), (190, 110, 40), (150, 80, 40), (120, 100, 90), (180, 180, 180),
             (250, 250, 250)]
    stepped = [bands[h // 10] for h in range(101)]
    # Dark green lowlands to white peaks; every stop is brighter than the one before.
    stops = [(0, (20, 70, 30)), (25, (70, 140, 50)), (50, (170, 170, 80)), (75, (200, 170, 130)),
             (100, (255, 255, 255))]
    gradient = []
    for h in range(101):
        for (h0, c0), (h1, c1) in zip(stops, stops[1:]):
            if h0 <= h <= h1:
                t = (h - h0) / (h1 - h0)
                gradient.append(tuple(round(a + (b - a) * t) for a, b in zip(c0, c1)))
                break
    return stepped, gradient


def colorref(rgb):
    r, g, b = rgb
    return r | (g << 8) | (b << 16)


def sql_text(text):
    return "'" + text.replace("'", "''") + "'"


def main():
    categories = read_categories()
    ordered = []
    for category, names in categories:
        for name in names:
            if name not in ordered:
                ordered.append(name)
        if category == "Structure":
            ordered += STRUCTURE_NAMES
    ids = {name: element_id for element_id, name in FIXED_IDS.items()}
    free = iter(i for i in range(len(ordered)) if i not in FIXED_IDS)
    for name in ordered:
        if name not in ids:
            ids[name] = next(free)
    assert sorted(ids.values()) == list(range(len(ordered))), "ids must be 0..n-1"

    home = {}
    for category, names in categories:
        for name in names:
            home.setdefault(name, category)
    for name in STRUCTURE_NAMES:
        home[name] = "Structure"
    # Shared names take the colour of what they are rather than the first list they are in.
    for name in ("Wood Wall", "Brick Wall", "Stone Wall"):
        home[name] = "Structure"
    for name in ("Wood Rubble", "Stone Rubble L3", "Brick Rubble", "Stone Rubble",
                 "Stone Rubble L4", "Bridge Rubble", "Scrap Metal"):
        home[name] = "Rubble"
    # The "... Structure" names stand in the Structure branch of the tree.
    colour_categories = [(c, names + STRUCTURE_NAMES if c == "Structure" else names)
                         for c, names in categories]
    colours = assign_colours(colour_categories, home)

    lines = ["-- The editor's built-in element catalogue.",
             "-- Generated by scripts/make_default_catalogue.py; edit the script, not this file.",
             "CREATE TABLE tblElements (elementid INTEGER NOT NULL, ElementType TEXT NOT NULL, "
             + ", ".join(f"{f} INTEGER NOT NULL" for f in FIELDS[2:]) + ");",
             "CREATE TABLE tblheights (Heightcolour INTEGER NOT NULL, "
             "Heightcolour2 INTEGER NOT NULL);"]
    for name in sorted(ids, key=ids.get):
        v = profile(name)
        rubble, crush, burn = turns_into(name, ids)
        values = ([ids[name], sql_text(name), colorref(colours[name]), v["Height"]]
                  + list(v["cover"]) + list(v["prot"]) + list(v["hind"])
                  + [v["BlockHeight"], v["All"], v["TopProtection"], v["InElemProtFlag"],
                     v["HEEffect"]]
                  + list(v["soldier"]) + list(v["vehicle"]) + [v["BogChance"],
                                                               v["ImmobilizeChance"]]
                  + [1 if FLAGS[f] in {FLAGS[k] for k in v["flags"]} else 0
                     for f in ("wall", "sunken", "crush", "covered", "bridge", "snow",
                               "interior", "road", "mine")]
                  + [v["HowFlamable"], v["explode"], level_of(name), rubble, crush, burn,
                     v["TreeType"]])
        assert len(values) == len(FIELDS)
        lines.append(f"INSERT INTO tblElements ({', '.join(FIELDS)}) VALUES ("
                     + ", ".join(str(x) for x in values) + ");")
    stepped, gradient = height_colours()
    for first, second in zip(stepped, gradient):
        lines.append(f"INSERT INTO tblheights (Heightcolour, Heightcolour2) VALUES "
                     f"({colorref(first)}, {colorref(second)});")
    OUTPUT.write_text("\n".join(lines) + "\n")
    print(f"wrote {OUTPUT.relative_to(ROOT)}: {len(ids)} elements, {len(stepped)} heights")


if __name__ == "__main__":
    main()
