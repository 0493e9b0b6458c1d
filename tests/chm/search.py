#!/usr/bin/python3
# Prints, for each word, the pages that a search of the help file finds for it (prefix search, as
# the viewer's search tab does), one line a word: "word: page page ...".
import sys
import chm.chm as chmfile
import chm.extra as extra

path, code_page = sys.argv[1], sys.argv[2]
help_file = chmfile.CHMFile()
if not help_file.LoadCHM(path):
    sys.exit("cannot open " + path)
if not extra.is_searchable(help_file.file):
    sys.exit("not searchable")
for word in sys.argv[3:]:
    found = extra.search(help_file.file, word.encode(code_page), 0, 0)
    pages = sorted(url.decode(code_page) for url in (found[1] or {}).values())
    print(word + ": " + " ".join(pages))
