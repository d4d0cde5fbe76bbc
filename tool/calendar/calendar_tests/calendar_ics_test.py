"""The calendar's iCalendar file as a calendar program reads it: Debian's
python3-icalendar parses the export of the 1884 season, of a generated
12-team season and of a season of awkward names; every game is an event on
its day with its summary and a UID that stays the same from one export to
the next, and two exports with the same SOURCE_DATE_EPOCH are the same bytes.
With a teams file the summaries read the display names, and the UIDs are
those of the export without it.

    calendar_ics_test.py SCHEDULE_TOOL SOURCE_DIR WORK_DIR
Exit status 77 (skipped) when python3-icalendar is missing.
"""
import datetime
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import calendar_seasons  # noqa: E402

SKIP = 77
failures = []


def check(what, passed, detail=""):
    calendar_seasons.check(failures, what, passed, detail)


def export(seasons, epoch, *arguments):
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    return seasons.calendar("--format", "ics", *arguments, env=env)


def events_of(icalendar, data):
    """(start, end, summary, uid, stamp) of each event, in the file's order."""
    calendar = icalendar.Calendar.from_ical(data)
    return [(event.get("dtstart").dt, event.get("dtend").dt, str(event.get("summary")),
             str(event.get("uid")), event.get("dtstamp").dt)
            for event in calendar.walk("VEVENT")]


def expected_events(games, teams, names=None):
    """(start, end, summary) of each game of `teams`, a game of two once,
    each team named by `names` where it holds it."""
    shown = lambda team: (names or {}).get(team, team)  # noqa: E731
    return [(date, date + datetime.timedelta(days=1),
             "%s at %s%s" % (shown(visitor), shown(home),
                             " (game %d)" % number if number > 1 else ""))
            for date, visitor, home, number in games if visitor in teams or home in teams]


def check_lines(name, data):
    lines = data.split(b"\r\n")
    check(name + ": every line ends CR LF and is at most 75 octets",
          lines[-1] == b"" and b"\n" not in b"".join(lines) and
          max(len(line) for line in lines) <= 75)


def check_export(icalendar, seasons, name, season, games, year, teams):
    arguments = ["--year", str(year)] + [a for team in teams for a in ("--team", team)]
    first = export(seasons, 1700000000, *arguments, season)
    check(name + ": two exports with the same SOURCE_DATE_EPOCH are the same bytes",
          first == export(seasons, 1700000000, *arguments, season))
    check_lines(name, first)
    calendar = icalendar.Calendar.from_ical(first)
    check(name + ": a VCALENDAR of version 2.0 with a PRODID",
          calendar.name == "VCALENDAR" and str(calendar.get("version")) == "2.0" and
          calendar.get("prodid") is not None)
    events = events_of(icalendar, first)
    expected = expected_events(games, teams or calendar_seasons.teams_of(games))
    check("%s: %d events, each on its day with its summary" % (name, len(expected)),
          [event[:3] for event in events] == expected,
          "first difference: %r" % (next(((e[:3], x) for e, x in zip(events, expected)
                                          if e[:3] != x), (len(events), len(expected))),))
    uids = [event[3] for event in events]
    check(name + ": every UID differs, and holds the game's date",
          len(set(uids)) == len(uids) and
          all(uid.startswith(event[0].strftime("%Y%m%d")) for uid, event in zip(uids, events)))
    check(name + ": every event stamped with SOURCE_DATE_EPOCH",
          all(event[4] == datetime.datetime(2023, 11, 14, 22, 13, 20, tzinfo=event[4].tzinfo)
              for event in events))
    later = events_of(icalendar, export(seasons, 1800000000, *arguments, season))
    check(name + ": exported again later, the same games have the same UIDs",
          [event[3] for event in later] == uids and later[0][4] != events[0][4])


# Display names with the characters the format escapes, and one of 40
# characters of two octets each, whose summaries fold amid them.
NAMES = {"84nbosto": "Boston Braves", "84nprovi": "Providence, Grays; \\ Co.",
         "84nbuffa": "\u00d1" * 40}


def whole_utf8(octets):
    try:
        octets.decode("utf-8", "strict")
        return True
    except UnicodeDecodeError:
        return False


def check_display_names(icalendar, seasons, work):
    teams_file = os.path.join(work, "seasons", "names.csv")
    with open(teams_file, "w", encoding="utf-8") as out:
        out.write("name,display\n" + "".join('%s,"%s"\n' % item for item in NAMES.items()))
    arguments = ["--year", "1884", "--team", "84nbosto", "--team", "84nprovi"]
    named = export(seasons, 0, "--teams", teams_file, *arguments, seasons.path_1884)
    check_lines("display names", named)
    check("display names: every folded line is whole UTF-8 characters",
          all(whole_utf8(line) for line in named.split(b"\r\n")))
    events = events_of(icalendar, named)
    expected = expected_events(seasons.games_1884, ["84nbosto", "84nprovi"], NAMES)
    check("display names: %d events, each summary naming the teams by their display names"
          % len(expected), [event[:3] for event in events] == expected,
          "first difference: %r" % (next(((e[:3], x) for e, x in zip(events, expected)
                                          if e[:3] != x), (len(events), len(expected))),))
    unfolded = named.replace(b"\r\n ", b"").split(b"\r\n")
    check("display names: a summary's 76th octet is inside a character, where a fold "
          "by octets alone would cut it",
          any(line.startswith(b"SUMMARY:\xc3\x91") and line[75] & 0xC0 == 0x80
              for line in unfolded))
    plain = events_of(icalendar, export(seasons, 0, *arguments, seasons.path_1884))
    check("display names: every UID is the one the export without them gives",
          [event[3] for event in events] == [event[3] for event in plain])


def main():
    tool, source_dir, work = sys.argv[1:4]
    try:
        import icalendar
    except ImportError:
        print("SKIPPED: python3-icalendar is not installed (scripts/install-deps.sh installs it)")
        return SKIP
    seasons = calendar_seasons.Seasons(tool, source_dir, os.path.join(work, "seasons"))
    check_export(icalendar, seasons, "1884", seasons.path_1884, seasons.games_1884, 1884, [])
    check_export(icalendar, seasons, "1884 two teams", seasons.path_1884, seasons.games_1884,
                 1884, ["84nprovi", "84nbosto"])
    check_export(icalendar, seasons, "12 teams", seasons.path_generated,
                 seasons.games_generated, 2027, [])

    # The schedule file built from the text gives the same bytes.
    schedule = os.path.join(work, "seasons", "1884.SCH")
    subprocess.run([tool, "build", seasons.path_1884, schedule], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    check("1884: the schedule file gives the text's bytes",
          export(seasons, 0, "--year", "1884", schedule) ==
          export(seasons, 0, "--year", "1884", seasons.path_1884))

    # Names with the characters the format escapes, and names of eight
    # bytes that are four characters, whose UIDs fold.
    odd = os.path.join(work, "seasons", "odd.txt")
    with open(odd, "wb") as out:
        out.write('[12/31/26]\r\n"a,b;c\\   d;e,f\\"\r\n"a,b;c\\   d;e,f\\"\r\n'
                  "éééé ññ=ñ\r\n".encode())
    data = export(seasons, 0, "--year", "2026", odd)
    check_lines("awkward names", data)
    events = events_of(icalendar, data)
    new_year = datetime.date(2027, 1, 1)
    check("awkward names: escaped and read back as they were, a doubleheader's second game "
          "so named, the last day of a year ending on the next",
          [event[1:3] for event in events] ==
          [(new_year, "a,b;c\\ at d;e,f\\"), (new_year, "a,b;c\\ at d;e,f\\ (game 2)"),
           (new_year, "éééé at ññ=ñ")], str(events))
    check("awkward names: a UID longer than a line unfolded whole",
          events[2][3] == "20261231-=C3=A9=C3=A9=C3=A9=C3=A9-at-=C3=B1=C3=B1=3D=C3=B1-1"
                          "@schedule-tool.zelto", events[2][3])

    check_display_names(icalendar, seasons, work)
    return calendar_seasons.outcome(failures)


if __name__ == "__main__":
    sys.exit(main())
