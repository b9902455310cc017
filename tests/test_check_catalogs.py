"""scripts/check-catalogs on small catalogs: what it must fail, and the
false alarms and glossary words it must let pass."""
import os
import runpy
import tempfile
import types
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
# The script has no .py name to import it by: its functions, run as a module.
check_catalogs = types.SimpleNamespace(**runpy.run_path(
    os.path.join(HERE, "..", "scripts", "check-catalogs"), run_name="check_catalogs"))

HEADER = 'msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n"Language: %s\\n"\n\n'
GOOD = 'msgid "Music volume"\nmsgstr "Musiklautstärke"\n'
# fr's rule: a no-break space before ":"; de's: none.
COLON_FR = 'msgid "Score: {1}"\nmsgstr "Score\u00a0: {1}"\n'
CONTEXT = 'msgctxt "key"\nmsgid "Up"\nmsgstr "Hoch"\n'
REPLAY = 'msgid "Watch the replay"\nmsgstr "Wiederholungen ansehen"\n'

CASES = [
    # (what, {file: text}, the problems' beginnings; none for a pass)
    ("a clean catalog", {"de.po": GOOD}, []),
    ("a placeholder lost", {"de.po": 'msgid "Score: {1}"\nmsgstr "Punkte: {2}"\n'},
     ["de: pofilter pythonbraceformat: 'Score: {1}'"]),
    ("a double space", {"de.po": 'msgid "Music volume"\nmsgstr "Musik  lautstärke"\n'},
     ["de: pofilter doublespacing: 'Music volume'"]),
    ("untranslated", {"de.po": 'msgid "Music volume"\nmsgstr ""\n'},
     ["de: pofilter untranslated: 'Music volume'"]),
    ("fuzzy", {"de.po": '#, fuzzy\nmsgid "Music volume"\nmsgstr "Musik"\n'},
     ["de: pofilter isfuzzy: 'Music volume'"]),
    ("French spacing is French", {"de.po": GOOD, "LINGUAS": "de fr\n", "fr.po": COLON_FR}, []),
    ("a plain space before a colon in French",
     {"LINGUAS": "fr\n", "fr.po": 'msgid "Score: {1}"\nmsgstr "Score : {1}"\n'},
     ["fr: typography nbsp: 'Score: {1}'"]),
    ("a false alarm listed, with a context",
     {"de.po": 'msgctxt "key"\nmsgid "Page Up"\nmsgstr "Bild auf."\n',
      "de.pofilter-ok": "# the keycap's own short form\nendpunc: key|Page Up\n"}, []),
    ("a false alarm listed without why",
     {"de.po": 'msgid "Page Up"\nmsgstr "Bild auf."\n', "de.pofilter-ok": "endpunc: Page Up\n"},
     ["de: de.pofilter-ok line 1: endpunc for 'Page Up' says no", "de: pofilter endpunc"]),
    ("a false alarm no longer raised",
     {"de.po": GOOD, "de.pofilter-ok": "# was short\nendpunc: Music volume\n"},
     ["de: de.pofilter-ok lists endpunc for 'Music volume', which pofilter no longer raises"]),
    ("a glossary's stem found, any case, in a context's entry",
     {"de.po": REPLAY + CONTEXT, "de.glossary": "# fixed terms\nreplay = wiederholung\nup = hoch\n"},
     []),
    ("a glossary term in another word",
     {"de.po": 'msgid "Watch the replay"\nmsgstr "Das Replay ansehen"\n',
      "de.glossary": "replay = Wiederholung | Aufzeichnung\n"},
     ["de: glossary term 'replay' in 'Watch the replay': the translation has none of "
      "wiederholung | aufzeichnung"]),
    ("a term only within a longer word is no match",
     {"de.po": 'msgid "Replays kept"\nmsgstr "Gespeichert"\n', "de.glossary": "replay = Wiederholung\n"},
     []),
    ("a glossary exception",
     {"de.po": 'msgid "Watch the replay"\nmsgstr "Ansehen"\n',
      "de.glossary": "replay = Wiederholung\nexcept replay: Watch the replay\n"}, []),
    ("a glossary line that is neither",
     {"de.po": GOOD, "de.glossary": "replay Wiederholung\n"}, ["de: de.glossary line 1: not"]),
    ("one language without a glossary once another has one",
     {"LINGUAS": "de fr\n", "de.po": GOOD, "fr.po": COLON_FR, "fr.glossary": "score = score\n"},
     ["de: no de.glossary, while fr have one"]),
]


class CheckCatalogs(unittest.TestCase):
    def test_cases(self):
        for what, files, expected in CASES:
            with self.subTest(what), tempfile.TemporaryDirectory() as po_dir:
                files = dict({"LINGUAS": "de\n"}, **files)
                for name, text in files.items():
                    if name.endswith(".po"):
                        text = HEADER % name[:-3] + text
                    with open(os.path.join(po_dir, name), "w", encoding="utf-8") as f:
                        f.write(text)
                problems = check_catalogs.check(po_dir)
                self.assertEqual(len(problems), len(expected), problems)
                for problem, beginning in zip(sorted(problems), sorted(expected)):
                    self.assertTrue(problem.startswith(beginning), (problem, beginning))


if __name__ == "__main__":
    unittest.main()
