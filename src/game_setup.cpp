#include "game_setup.h"

#include "music.h"

void prepare_before_mode(GAME& game) {
  switch_music(game.music, "sfx\\open.wav");
  game.myRuby->replace();
  game.myGPIRATE->replace();
  game.myTreasure->replace();
  game.myminis->place();
}

void prepare_after_mode(GAME& game) {
  switch_music(game.music, "sfx\\game.wav");
  game.myCoin->replace();
  game.myPirate->zero_vel();
  game.myPirate->live();
  game.myPirate2->die();
  if (game.multi) {
    game.myPirate2->zero_vel();
    game.myPirate2->live();
  }
  game.myCannonball->zero_vel();
  game.myCannonball->start_over();
  game.lives1 = 3;
  game.lives2 = 3;
  game.myPirate->make_position(280, 120);
  if (game.multi) game.myPirate2->make_position(280, 280);
}
