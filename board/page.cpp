#include "page.h"

namespace {

std::string table(const char* title, const std::vector<ENTRY>& entries, bool watch) {
  std::string out = "<section><h2>" + std::string(title) + "</h2>\n";
  if (entries.empty()) return out + "<p>No game yet.</p></section>\n";
  out += "<table><thead><tr><th scope=\"col\">Rank</th><th scope=\"col\">Name</th>"
         "<th scope=\"col\">Score</th><th scope=\"col\">Date</th>";
  if (watch) out += "<th scope=\"col\"><span class=\"hidden\">Replay</span></th>";
  out += "</tr></thead><tbody>\n";
  for (const ENTRY& e : entries) {
    out += "<tr><td>" + std::to_string(e.rank) + "</td><td>" + html_text(e.name) + "</td><td>" +
           std::to_string(e.score) + "</td><td>" + html_text(e.date.substr(0, 10)) + "</td>";
    if (watch) {
      out += "<td><a href=\"/watch/" + std::to_string(e.id) + "\" aria-label=\"Watch the game of " +
             html_text(e.name) + ", " + std::to_string(e.score) + "\">Watch</a></td>";
    }
    out += "</tr>\n";
  }
  return out + "</tbody></table></section>\n";
}

}  // namespace

std::string html_text(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string board_page(const PAGE_BOARDS& b) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Brinegrab world board</title>\n<style>\n"
      "body{font-family:sans-serif;background:#1d2b3a;color:#f4ead5;margin:0 auto;"
      "max-width:60em;padding:1em}\n"
      "h1{color:#f2c14e}h2{color:#f2c14e;font-size:1.2em}\n"
      "main{display:grid;grid-template-columns:repeat(auto-fit,minmax(24em,1fr));gap:1em}\n"
      "table{border-collapse:collapse;width:100%}td,th{padding:.3em .5em;text-align:left}\n"
      "tbody tr:nth-child(odd){background:#26384b}a{color:#ffd97a}\n"
      ".hidden{position:absolute;width:1px;height:1px;overflow:hidden;clip:rect(0 0 0 0)}\n"
      "</style></head><body>\n<h1>Brinegrab world board</h1>\n"
      "<p>Every score here was played again by the game itself before it was put on the "
      "board.</p>\n<main>\n";
  out += table("Solo today", b.solo_today, b.watch);
  out += table("Two players today", b.multi_today, b.watch);
  out += table("Solo of all time", b.solo_all, b.watch);
  out += table("Two players of all time", b.multi_all, b.watch);
  out += "</main>\n<footer><p>Today is " + html_text(b.today) +
         " (UTC). The board keeps each game's name, score, date and replay; of a player, "
         "only the name and a hash of its game's secret token.</p></footer>\n</body></html>\n";
  return out;
}
