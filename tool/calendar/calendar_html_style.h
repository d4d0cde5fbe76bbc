// The style of the calendar page, inline in it. Home games are filled boxes
// and road games dashed outlines, each with its word ("vs", "at"), so that
// they differ in grey print and without colour; the blue and the orange are
// a pair that readers with the common colour blindness still tell apart.
// Printed, the page is landscape with two months across (the boxes a
// little smaller); each team begins a page and a month stays whole on one.
// A game box's name wraps at its blanks onto up to three lines, a day's
// row growing to hold them, so that a name for people ("Philadelphia
// Phillies") reads whole in a box made for file names of 8 characters.
#ifndef ZELTO_TOOL_CALENDAR_CALENDAR_HTML_STYLE_H_
#define ZELTO_TOOL_CALENDAR_CALENDAR_HTML_STYLE_H_

namespace tool {

inline constexpr char kCalendarStyle[] = R"css(
:root { --home: #1f4e8c; --away: #b35900; --line: #9a9a9a; }
* { box-sizing: border-box; }
body { margin: 16px; color: #111; background: #fff;
  font: 13px/1.25 "DejaVu Sans", "Liberation Sans", Arial, sans-serif; }
.team { margin: 0 0 36px; }
.team h1 { font-size: 22px; margin: 0 0 2px; }
.totals { margin: 0 0 6px; font-size: 14px; }
.legend { display: flex; flex-wrap: wrap; gap: 6px 20px; align-items: center;
  margin: 0 0 12px; padding: 6px 8px; border: 1px solid var(--line); font-size: 12px; }
.legend > span { display: inline-flex; align-items: center; gap: 6px; }
.legend .cell { display: inline-block; width: 40px; height: 22px; padding: 1px 2px;
  border: 1px solid var(--line); }
.months { display: flex; flex-wrap: wrap; gap: 14px 18px; align-items: flex-start; }
table.month { border-collapse: collapse; table-layout: fixed; width: 546px;
  break-inside: avoid; page-break-inside: avoid; }
caption { text-align: left; font-weight: bold; font-size: 15px; padding: 0 0 3px; }
th { font-size: 11px; font-weight: normal; color: #444; padding: 1px 0; }
td { border: 1px solid var(--line); height: 50px; vertical-align: top; padding: 2px 1px;
  overflow: hidden; }
td.pad { border: none; }
td.out { background: #ececec; }
.date { display: block; font-size: 10px; color: #444; }
.dh .date::after, .dh-sample::after { content: "DH"; float: right; padding: 0 3px;
  border-radius: 3px; background: #111; color: #fff; font-weight: bold; font-size: 9px; }
.game, .sample { display: block; margin-top: 2px; padding: 0 1px; border-radius: 3px;
  white-space: nowrap; overflow: hidden;
  font: 11px/1.3 "DejaVu Sans Condensed", "Liberation Sans Narrow", "Arial Narrow", sans-serif;
  font-stretch: condensed; }
.game { display: -webkit-box; -webkit-box-orient: vertical; -webkit-line-clamp: 3;
  white-space: normal; overflow-wrap: normal; hyphens: manual; }
.sample { display: inline-block; }
.home { background: var(--home); color: #fff; border: 2px solid var(--home); }
.away { background: #fff; color: #5c2e00; border: 2px dashed var(--away); }
.mark { font-weight: bold; }
@page { size: letter landscape; margin: 12mm; }
@media print {
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  body { margin: 0; }
  .team { margin: 0; break-before: page; page-break-before: always; }
  .team:first-of-type { break-before: auto; page-break-before: auto; }
  table.month { width: 470px; }
  td { height: 44px; }
  .game { font-size: 9.5px; }
}
)css";

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_CALENDAR_HTML_STYLE_H_
