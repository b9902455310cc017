#pragma once
#include <string>

// What the command line asked of the board.
struct BOARD_OPTIONS {
  std::string host = "127.0.0.1";
  int port = 8600;
  std::string database;  // a file, or postgresql://USER@HOST:PORT/DB; "" for DATA/board.sqlite
  std::string data;      // the data directory; "" for $XDG_DATA_HOME/brinegrab-board
  std::string game;      // the game's directory, where brinegrab and its files are
  std::string web;       // the browser build served at /play/, if there
  int checks = 0;        // checks at a time; 0: one per core
  int queue = 0;         // runs waiting for a check; 0: twice the checks
  int check_seconds = 30;   // the wall time, and the CPU time, a check may take
  int check_megabytes = 512;   // the address space a check may take
  int rate = 30;            // submissions a minute from one address; 0: no limit
  long long hide = 0;       // --hide ID: hide that game and exit
};

// Reads the command line. Returns -1 when the board should run; otherwise
// the exit status, having printed the help (0) or why on stderr (2).
int parse_board_options(int argc, char* argv[], BOARD_OPTIONS& options);

// The data directory and the database options give, filled in.
void settle_paths(BOARD_OPTIONS& options);
