// Runs in the browser before the game starts (emcc --pre-js): the save
// folder kept in IndexedDB, the copies back to it after each save, and what
// the page passes to the game (command line, renderer).
//
// The save folder's name is the one platform::BrowserSaveDir() returns.
var TW_SAVE_DIR = '/save';

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  // The page may choose SDL's renderer ("software" is the faster here).
  if (Module['twRenderer']) ENV['SDL_RENDER_DRIVER'] = Module['twRenderer'];
  FS.mkdir(TW_SAVE_DIR);
  FS.mount(IDBFS, {}, TW_SAVE_DIR);
  // The game reads its options and high scores at start-up, so it waits for
  // the folder to come back from IndexedDB.
  addRunDependency('tw-saves');
  FS.syncfs(true, function (err) {
    if (err) {
      // Private windows and some embedded browsers have no IndexedDB: the
      // game plays on, saving only until the page is closed.
      console.warn('Saved files could not be read back: ' + err);
      Module['twSaveError'] = String(err);
    }
    removeRunDependency('tw-saves');
  });
});

// A save asks for a copy to IndexedDB. One copy runs at a time; saves made
// meanwhile are covered by one more copy when it ends. `twSavesPending`
// counts copies asked for and not yet done (tests wait for 0).
Module['twSavesPending'] = 0;
var twSyncRunning = false;
var twSyncAgain = false;
Module['twSyncSaves'] = function () {
  if (twSyncRunning) {
    if (!twSyncAgain) Module['twSavesPending']++;
    twSyncAgain = true;
    return;
  }
  twSyncRunning = true;
  Module['twSavesPending']++;
  FS.syncfs(false, function (err) {
    if (err) {
      console.error('Saving to IndexedDB failed: ' + err);
      Module['twSaveError'] = String(err);
    }
    twSyncRunning = false;
    Module['twSavesPending']--;
    if (twSyncAgain) {
      twSyncAgain = false;
      Module['twSavesPending']--;
      Module['twSyncSaves']();
    }
  });
};

// What the page shows its tests about the game (platform::PublishPageState).
Module['twSetState'] = function (screen, item, inGame, paused, gameOver, level, frame, score, x, y, fps) {
  Module['gameState'] = {
    screen: screen, item: item, inGame: !!inGame, paused: !!paused, gameOver: !!gameOver, level: level,
    frame: frame, score: score, x: x, y: y, fps: fps
  };
};
