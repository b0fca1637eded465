"""Gives a cut-down typeface a family name of its own: renamefont.py INPUT OUTPUT FAMILY

Under its original name, the cut-down copy would take the place of the installed typeface
in the whole program once it is loaded, the window's texts included.
"""
import sys

from fontTools.ttLib import TTFont

# Family, unique name, full name, PostScript name, typographic family.
RENAMED_IDS = (1, 3, 4, 6, 16)


def main():
    source, output, family = sys.argv[1:4]
    font = TTFont(source)
    names = font["name"]
    old_family = names.getDebugName(1)
    for record in names.names:
        if record.nameID in RENAMED_IDS:
            text = record.toUnicode()
            text = text.replace(old_family, family).replace(old_family.replace(" ", ""), family.replace(" ", ""))
            record.string = text
    font.save(output)


if __name__ == "__main__":
    main()
