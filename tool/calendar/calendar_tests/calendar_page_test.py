"""The calendar page as a browser shows it: headless Chromium renders the
page of the 1884 season and of a generated 12-team season. The rendered DOM
holds, for each team, one game box per game with the right day, mark and
opponent; printed, each team begins a page of its own; with a teams file,
the headings, title and boxes hold the display names whole, whatever
characters they hold; and a screenshot of a team's page with its names is
written for the README.

    calendar_page_test.py SCHEDULE_TOOL SOURCE_DIR WORK_DIR
Exit status 77 (skipped) when Chromium is missing.
"""
import html.parser
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import calendar_seasons  # noqa: E402

SKIP = 77
failures = []


def check(what, passed, detail=""):
    calendar_seasons.check(failures, what, passed, detail)


class Browser:
    """Headless Chromium with a profile of its own and nothing of the
    network: this machine's network is closed."""

    def __init__(self, binary, work):
        self.binary = binary
        self.profile = tempfile.mkdtemp(prefix="chromium-", dir=work)

    def run(self, page, *flags):
        command = [self.binary, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                   "--no-first-run", "--disable-background-networking",
                   "--disable-component-update", "--disable-sync",
                   "--user-data-dir=" + self.profile, *flags, "file://" + page]
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if done.returncode != 0:
            sys.exit("chromium failed: " + done.stderr.decode(errors="replace"))
        return done.stdout

    def pages_printed(self, page):
        pdf = page + ".pdf"
        self.run(page, "--no-pdf-header-footer", "--print-to-pdf=" + pdf)
        with open(pdf, "rb") as printed:
            return len(re.findall(rb"/Type\s*/Page\b(?!s)", printed.read()))


class GameBoxes(html.parser.HTMLParser):
    """The game boxes of a rendered page: for each team, (date, mark,
    opponent) of each box, the box titles that differ from the opponent
    shown, the days marked as doubleheaders and the section's heading; and
    the page's title."""

    def __init__(self):
        super().__init__()
        self.teams, self.doubleheaders, self.headings, self.titles = {}, {}, {}, {}
        self.title = ""
        self.team = self.date = None
        self.box = None  # [mark, opponent, title] of the box being read
        self.reading = None  # "mark", "opponent", "heading" or "title"

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        classes = (attrs.get("class") or "").split()
        if tag == "section" and "team" in classes:
            self.team = attrs["data-team"]
            self.teams[self.team], self.doubleheaders[self.team] = [], []
            self.headings[self.team], self.titles[self.team] = "", set()
        elif tag == "td" and "day" in classes:
            self.date = attrs["data-date"]
            if "dh" in classes:
                self.doubleheaders[self.team].append(self.date)
        elif tag == "span" and "game" in classes:
            self.box = ["", "", attrs.get("title")]
        elif tag == "span" and self.box is not None and classes in (["mark"], ["opponent"]):
            self.reading = classes[0]
        elif tag in ("h1", "title"):
            self.reading = "heading" if tag == "h1" else "title"

    def handle_endtag(self, tag):
        if tag == "span" and self.reading:
            self.reading = None
        elif tag == "span" and self.box is not None:
            self.teams[self.team].append((self.date, self.box[0], self.box[1]))
            if self.box[2] is not None:
                self.titles[self.team].add((self.box[1], self.box[2]))
            self.box = None
        elif tag in ("h1", "title"):
            self.reading = None

    def handle_data(self, data):
        # A long name's soft hyphens are where a box may break it, not text.
        data = data.replace("\u00ad", "")
        if self.reading == "mark":
            self.box[0] += data
        elif self.reading == "opponent":
            self.box[1] += data
        elif self.reading == "heading":
            self.headings[self.team] += data
        elif self.reading == "title":
            self.title += data


def doubleheader_days(expected):
    dates = [date for date, _, _ in expected]
    return sorted({date for date in dates if dates.count(date) > 1})


def check_season(name, browser, seasons, work, season, games, year, screenshot_team,
                 screenshot_teams_file):
    teams = calendar_seasons.teams_of(games)
    page = os.path.join(work, name + ".html")
    with open(page, "wb") as out:
        out.write(seasons.calendar("--year", str(year), season))
    boxes = GameBoxes()
    boxes.feed(browser.run(page, "--dump-dom").decode())
    check("%s: the rendered page has a section for each of its %d teams, in byte order"
          % (name, len(teams)), list(boxes.teams) == teams, str(list(boxes.teams)))
    for team in teams:
        expected = calendar_seasons.team_games(games, team)
        shown = sorted(boxes.teams.get(team, []))
        check("%s %s: %d game boxes, each on its day with its mark and opponent"
              % (name, team, len(expected)), shown == expected,
              "missing %s, extra %s" % (sorted(set(expected) - set(shown))[:3],
                                        sorted(set(shown) - set(expected))[:3]))
        check("%s %s: its doubleheader days marked" % (name, team),
              sorted(boxes.doubleheaders.get(team, [])) == doubleheader_days(expected))

    # Printed, every team begins a page: two teams alone print as many
    # pages as the two together, and the whole season at least one a team.
    alone = []
    for team in teams[:2]:
        single = os.path.join(work, "%s-%s.html" % (name, team))
        with open(single, "wb") as out:
            out.write(seasons.calendar("--year", str(year), "--team", team, season))
        alone.append(browser.pages_printed(single))
    two = os.path.join(work, name + "-two.html")
    with open(two, "wb") as out:
        arguments = [a for team in teams[:2] for a in ("--team", team)]
        out.write(seasons.calendar("--year", str(year), *arguments, season))
    together = browser.pages_printed(two)
    check("%s: printed, each of two teams takes a page or more and starts its own "
          "(%s pages alone, %d together)" % (name, alone, together),
          min(alone) >= 1 and together == sum(alone))
    printed = browser.pages_printed(page)
    check("%s: printed, the whole season takes at least a page a team (%d pages, %d teams)"
          % (name, printed, len(teams)), printed >= len(teams))

    # The screenshot of one team's page, with its names for people when a
    # teams file is given, tall enough for all its months (a box of a long
    # name takes three lines).
    single = os.path.join(work, "%s-%s.html" % (name, screenshot_team))
    names = ["--teams", screenshot_teams_file] if screenshot_teams_file else []
    with open(single, "wb") as out:
        out.write(seasons.calendar("--year", str(year), "--team", screenshot_team, *names, season))
    months = len({date[:7] for date, _, _ in calendar_seasons.team_games(games, screenshot_team)})
    height = 140 + (months + 1) // 2 * 420
    png = os.path.join(work, "calendar-%s.png" % name)
    browser.run(single, "--hide-scrollbars", "--window-size=1150,%d" % height,
                "--screenshot=" + png)
    check("%s: a screenshot of %s written to %s" % (name, screenshot_team, png),
          os.path.getsize(png) > 10000)


# Display names for some teams of the generated season: the characters HTML
# escapes, letters past ASCII, and the longest name a teams file takes. The
# others have none and keep their file names.
DISPLAY = {"Avon": "Avon & Sons <Ltd>", "Bramble": "Br\u00e4mble \u00d1and\u00fas",
           "Cedars": "Cedars \"Q\" 'n' Co", "Dunmore": "D" * 40}


def check_display_names(browser, seasons, work):
    """The generated season's page with a teams file: every heading, game
    box and the title hold the display names whole (the file name where
    there is none), each box of a display name titled with it, and the
    sections still marked by the file names."""
    teams_file = os.path.join(work, "names.csv")
    with open(teams_file, "w", encoding="utf-8", newline="") as out:
        out.write("name,display\r\n")
        for team, display in DISPLAY.items():
            out.write('%s,"%s"\r\n' % (team, display.replace('"', '""')))
    shown = lambda team: DISPLAY.get(team, team)  # noqa: E731
    games = seasons.games_generated
    teams = calendar_seasons.teams_of(games)
    page = os.path.join(work, "names.html")
    with open(page, "wb") as out:
        out.write(seasons.calendar("--year", "2027", "--teams", teams_file, seasons.path_generated))
    boxes = GameBoxes()
    boxes.feed(browser.run(page, "--dump-dom").decode())
    check("names: the sections are still marked by the file names", list(boxes.teams) == teams,
          str(list(boxes.teams)))
    check("names: each team headed by its display name, or its file name",
          [boxes.headings.get(team) for team in teams] == [shown(team) for team in teams],
          str(boxes.headings))
    for team in ("Avon", "Eastport"):
        opponents = {opponent for _, _, opponent in calendar_seasons.team_games(games, team)}
        expected = sorted((date, mark, shown(opponent)) for date, mark, opponent
                          in calendar_seasons.team_games(games, team))
        check("names %s: every box shows its opponent's display name whole" % team,
              sorted(boxes.teams.get(team, [])) == expected,
              "missing %s, extra %s" % (sorted(set(expected) - set(boxes.teams[team]))[:3],
                                        sorted(set(boxes.teams[team]) - set(expected))[:3]))
        check("names %s: a box of a display name is titled with it, no other" % team,
              boxes.titles[team] == {(DISPLAY[o], DISPLAY[o]) for o in opponents if o in DISPLAY},
              str(boxes.titles[team]))
    single = os.path.join(work, "names-avon.html")
    with open(single, "wb") as out:
        out.write(seasons.calendar("--year", "2027", "--team", "Avon", "--teams", teams_file,
                                   seasons.path_generated))
    titled = GameBoxes()
    titled.feed(browser.run(single, "--dump-dom").decode())
    check("names: the page's title names the team by its display name",
          titled.title == "Schedule of " + DISPLAY["Avon"], titled.title)


# Marks, in a copy of a page, where the browser broke each opponent's name
# across lines. Each run of letters between break points (a blank, a soft
# hyphen) is put in a span of its own, which adds no break point: a span
# laid out on two lines is a word split without a hyphen; two spans apart
# a soft hyphen, on two lines, a word hyphenated.
BREAK_FINDER = """<script>
const splits = [], hyphenated = [];
for (const box of document.querySelectorAll(".opponent")) {
  const text = box.textContent, shown = text.replace(/\\u00ad/g, "");
  box.textContent = "";
  const pieces = [];
  for (const part of text.split(/([ \\u00ad])/)) {
    if (part === " " || part === "\\u00ad" || part === "") {
      box.appendChild(document.createTextNode(part));
      if (part) pieces.push(part);
      continue;
    }
    const span = document.createElement("span");
    span.textContent = part;
    box.appendChild(span);
    pieces.push(span);
  }
  let top = null, after = null;
  for (const piece of pieces) {
    if (typeof piece === "string") { after = piece; continue; }
    const rects = [...piece.getClientRects()];
    if (new Set(rects.map((r) => Math.round(r.top))).size > 1) splits.push(shown);
    const first = rects.length ? rects[0].top : top;
    if (top !== null && first > top + 1 && after === "\\u00ad") hyphenated.push(shown);
    top = rects.length ? rects[rects.length - 1].top : top;
    after = null;
  }
}
const out = document.createElement("pre");
out.id = "breaks";
out.textContent = JSON.stringify({splits, hyphenated});
document.body.appendChild(out);
</script>"""


def check_long_names(browser, seasons, work):
    """Names wider than a day's box break between words, and a word wider
    than the box at a hyphen, never inside a word without one."""
    teams_file = os.path.join(work, "long-names.csv")
    with open(teams_file, "w", encoding="utf-8", newline="") as out:
        out.write("name,display\r\nAvon,Arizona Diamondbacks\r\n"
                  "Bramble,Washington Nationals\r\nCedars,%s\r\n" % ("Unbreakable" * 3))
    page = os.path.join(work, "long-names.html")
    made = seasons.calendar("--year", "2027", "--teams", teams_file, seasons.path_generated)
    with open(page, "wb") as out:
        out.write(made.replace(b"</body>", BREAK_FINDER.encode() + b"</body>"))
    dom = browser.run(page, "--dump-dom").decode()
    found = re.search(r'<pre id="breaks">(.*?)</pre>', dom, re.S)
    breaks = json.loads(html.unescape(found.group(1))) if found else None
    check("long names: the page was measured", breaks is not None)
    if breaks is None:
        return
    check("long names: no word split without a hyphen", not breaks["splits"],
          str(breaks["splits"][:3]))
    check("long names: a word wider than its box is hyphenated",
          any(name.startswith("Unbreakable") for name in breaks["hyphenated"]),
          str(breaks["hyphenated"][:3]))


def main():
    tool, source_dir, work = sys.argv[1:4]
    binary = shutil.which("chromium") or shutil.which("chromium-browser")
    if binary is None:
        print("SKIPPED: chromium is not installed (scripts/install-deps.sh installs it)")
        return SKIP
    os.makedirs(work, exist_ok=True)
    seasons = calendar_seasons.Seasons(tool, source_dir, os.path.join(work, "seasons"))
    browser = Browser(binary, work)
    try:
        check_season("1884", browser, seasons, work, seasons.path_1884, seasons.games_1884,
                     1884, "84nbosto",
                     os.path.join(source_dir, "testing", "seasons", "1884-teams.csv"))
        check_season("12-teams", browser, seasons, work, seasons.path_generated,
                     seasons.games_generated, 2027, "Avon", None)
        check_display_names(browser, seasons, work)
        check_long_names(browser, seasons, work)
    finally:
        shutil.rmtree(browser.profile, ignore_errors=True)
    return calendar_seasons.outcome(failures)


if __name__ == "__main__":
    sys.exit(main())
