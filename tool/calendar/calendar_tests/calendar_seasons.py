"""The seasons the calendar's browser and parser tests read, and what the
calendar should show of them, worked out here from the schedule text alone;
and how both tests tell each check and their outcome.

A generated season: 12 teams in two divisions of six, from Thursday
2027-04-01: three-game series, every division rival three times and every
team of the other division once, no games on Mondays, and now and then a
doubleheader on a series' second day with its third day off for the two
teams.
"""
import datetime
import os
import subprocess
import sys

EAST = ["Avon", "Bramble", "Cedars", "Dunmore", "Eastport", "Fairfax"]
WEST = ["Granite", "Harbor", "Ironwood", "Juniper", "Kestrel", "Lakeside"]
GAMES_PER_DATE = 15  # a schedule keeps a date's first 15 games


def _division_rounds(teams):
    """Each team of `teams` once against every other: the circle method."""
    ring = list(teams)
    rounds = []
    for number in range(len(ring) - 1):
        pairs = [(ring[i], ring[-1 - i]) for i in range(len(ring) // 2)]
        rounds.append([(b, a) if number % 2 else (a, b) for a, b in pairs])
        ring = [ring[0], ring[-1]] + ring[1:-1]
    return rounds


def _series():
    """The pairings of each series, home team second."""
    east, west = _division_rounds(EAST), _division_rounds(WEST)
    series = []
    for meeting in range(3):
        for e, w in zip(east, west):
            pairs = e + w
            series.append([(a, b) if meeting % 2 == 0 else (b, a) for a, b in pairs])
    for shift in range(len(EAST)):
        series.append([(EAST[i], WEST[(i + shift) % len(WEST)]) if shift % 2 else
                       (WEST[(i + shift) % len(WEST)], EAST[i]) for i in range(len(EAST))])
    return series


def generated_season_text():
    """The generated season as schedule text, CR LF line ends."""
    day = datetime.date(2027, 4, 1)
    lines = []
    for number, pairs in enumerate(_series()):
        for game_day in range(3):
            while day.weekday() == 0:  # Monday: every team is off
                day += datetime.timedelta(days=1)
            games = []
            for index, (visitor, home) in enumerate(pairs):
                doubleheader = (number + index) % 5 == 0
                if doubleheader and game_day == 2:
                    continue  # the day after a doubleheader is off
                games.append((visitor, home))
                if doubleheader and game_day == 1:
                    games.append((visitor, home))
            lines.append(day.strftime("[%m/%d/%y]"))
            lines += ["%-8s %s" % game for game in games]
            day += datetime.timedelta(days=1)
    return "".join(line + "\r\n" for line in lines)


def read_season_text(text, first_year):
    """The games of a schedule text as the calendar places them: a list of
    (date, visitor, home, number), number counting the games of the two
    teams on that date. Dates follow `first_year` (no season here spans a
    century)."""
    games, date, stored, previous = [], None, 0, None
    century = first_year - first_year % 100
    for line in text.replace("\r\n", "\n").split("\n"):
        if line.startswith("["):
            written = line[1:9]
            if written != previous:
                stored = 0
            previous = written
            month, day, year = (int(part) for part in written.split("/"))
            date = datetime.date(century + year, month, day)
            continue
        if date is None or not line.strip():
            continue
        stored += 1
        if stored > GAMES_PER_DATE:
            continue
        visitor, home = line[0:8].rstrip(), line[9:17].rstrip()
        pair = tuple(sorted((visitor, home)))
        number = 1 + sum(1 for g in games if g[0] == date and tuple(sorted(g[1:3])) == pair)
        games.append((date, visitor, home, number))
    return games


def team_games(games, team):
    """What the page should show for `team`: sorted (date, mark, opponent)."""
    shown = []
    for date, visitor, home, _ in games:
        if home == team:
            shown.append((date.isoformat(), "vs", visitor))
        elif visitor == team:
            shown.append((date.isoformat(), "at", home))
    return sorted(shown)


class Seasons:
    """The two seasons, made once in the test's own folder: the 1884 season
    imported from the repository's season file, and the generated one."""

    def __init__(self, tool, source_dir, work):
        self.tool = tool
        self.work = work
        os.makedirs(work, exist_ok=True)
        imported = subprocess.run(
            [tool, "import", os.path.join(source_dir, "testing", "seasons", "1884SKED.TXT")],
            check=True, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
        self.path_1884 = self._write("1884.txt", imported)
        self.path_generated = self._write("generated.txt", generated_season_text().encode())
        self.games_1884 = read_season_text(imported.decode(), 1884)
        self.games_generated = read_season_text(generated_season_text(), 2027)

    def _write(self, name, data):
        path = os.path.join(self.work, name)
        with open(path, "wb") as out:
            out.write(data)
        return path

    def calendar(self, *arguments, env=None):
        """schedule-tool calendar ARGUMENTS: its standard output."""
        run = subprocess.run([self.tool, "calendar", *arguments], stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, env=env)
        if run.returncode != 0:
            sys.exit("calendar %s failed: %s" % (" ".join(arguments), run.stderr.decode()))
        return run.stdout


def teams_of(games):
    return sorted({g[1] for g in games} | {g[2] for g in games})


def check(failures, what, passed, detail=""):
    """Prints one check's outcome; a failed one joins `failures`."""
    print(("ok: " if passed else "FAILED: ") + what + ("" if passed else "\n  " + detail))
    if not passed:
        failures.append(what)


def outcome(failures):
    """The closing line, and the exit status: 0 when every check passed."""
    print("%d check(s) failed" % len(failures) if failures else "every check passed")
    return 1 if failures else 0
