"""Finishes the cut-down report typeface: tailorfont.py INPUT OUTPUT FAMILY

It gets a family name of its own: under its original name the cut-down copy would take the
place of the installed typeface in the whole program once it is loaded, the window's texts
included.

Its character map becomes one flat table from the first character to the last. The PDF
writer asks the typeface for the glyph of each of the 65,536 code points of the Basic
Multilingual Plane for every font of every page it writes, to tell PDF readers the text;
a flat table answers each question with one look, where the usual map searches its ranges.

It keeps one instruction of a hinting program, which does nothing: FreeType hints a typeface
without any hinting program with its automatic hinter instead, which moves the points of the
outlines the PDF writer embeds, and whose first use walks the character map, slowly for a
flat one.
"""
import sys

from fontTools.ttLib import TTFont, newTable
from fontTools.ttLib.tables import ttProgram
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable

# Family, unique name, full name, PostScript name, typographic family.
RENAMED_IDS = (1, 3, 4, 6, 16)
TRIMMED_TABLE = 6


def rename(font, family):
    names = font["name"]
    old_family = names.getDebugName(1)
    for record in names.names:
        if record.nameID in RENAMED_IDS:
            text = record.toUnicode()
            text = text.replace(old_family, family).replace(old_family.replace(" ", ""), family.replace(" ", ""))
            record.string = text


def flatten_character_map(font):
    flat = CmapSubtable.newSubtable(TRIMMED_TABLE)
    flat.platformID, flat.platEncID, flat.language = 3, 1, 0  # Windows, Unicode BMP
    flat.cmap = dict(font.getBestCmap())
    font["cmap"].tables = [flat]


def keep_native_hinting(font):
    program = ttProgram.Program()
    program.fromAssembly(["SVTCA[0]"])  # sets the direction later instructions would move points in
    prep = newTable("prep")
    prep.program = program
    font["prep"] = prep


def main():
    source, output, family = sys.argv[1:4]
    # The source's own date, so that every build makes the same bytes.
    font = TTFont(source, recalcTimestamp=False)
    rename(font, family)
    flatten_character_map(font)
    keep_native_hinting(font)
    font.save(output)


if __name__ == "__main__":
    main()
