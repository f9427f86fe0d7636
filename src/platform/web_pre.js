// Runs in the browser before the game starts (emcc --pre-js): the save
// folder kept in IndexedDB, the copies back to it after each save, and what
// the page passes to the game (command line, renderer).
//
// The one rule the save folder lives by: nothing is written to IndexedDB
// until it has been read back. A read that fails is not an empty store (a
// busy disk, a browser update, a locked database): copying the game's
// defaults over it would wipe the player's table, so the game then plays on
// without saving, and the page says so.
//
// The save folder's name is the one platform::BrowserSaveDir() returns.
var TW_SAVE_DIR = '/save';
// Tries at reading the folder back before the game gives up on it, and the
// pause before each retry (ms).
var TW_READ_TRIES = 3;
var TW_READ_RETRY_MS = 400;
// A write that failed is tried again after this long, doubling up to a limit.
var TW_WRITE_RETRY_MS = 2000;
var TW_WRITE_RETRY_MAX_MS = 30000;

// 'reading', then 'read' (saves reach IndexedDB) or 'unreadable' (nothing
// reaches it during this visit).
Module['twSavesState'] = 'reading';

function twNotice(kind, text) {
  if (Module['twNotice']) Module['twNotice'](kind, text);
}

function twAskPersistence() {
  // Asked once per browser: storage marked persistent is not evicted when
  // the disk runs low. The browser decides; the game works either way.
  try {
    if (!navigator.storage || !navigator.storage.persist) return;
    if (localStorage.getItem('tumblewell-persist-asked')) return;
    localStorage.setItem('tumblewell-persist-asked', '1');
    navigator.storage.persist().then(function (granted) {
      Module['twPersisted'] = granted;
    }, function () {});
  } catch (e) {
    // No localStorage (some private windows): not asked.
  }
}

function twReadSaves(attempt, done) {
  FS.syncfs(true, function (err) {
    if (!err) {
      Module['twSavesState'] = 'read';
      Module['twSaveReadTries'] = attempt;
      if (attempt > 1) console.warn('Saved files read back on try ' + attempt);
      twAskPersistence();
      done();
      return;
    }
    console.warn('Reading the saved files failed (try ' + attempt + ' of ' + TW_READ_TRIES + '): ' + err);
    if (attempt < TW_READ_TRIES) {
      setTimeout(function () { twReadSaves(attempt + 1, done); }, TW_READ_RETRY_MS * attempt);
      return;
    }
    Module['twSavesState'] = 'unreadable';
    Module['twSaveError'] = String(err);
    twNotice('unreadable', 'Your saved games could not be read (' + err + '). They are left as they are: ' +
             'this visit plays without saving. Reloading the page tries again.');
    done();
  });
}

// Emscripten's IndexedDB file system (as of 3.1.6) reports a failed write
// or delete as `this.error` inside an arrow function, which is undefined: the
// copy would count the failure as done and the page would never hear of it.
// These pass on the request's own error.
function twReportIndexedDbErrors() {
  function settle(req, callback) {
    req.onsuccess = function () { callback(null); };
    req.onerror = function (e) {
      callback(req.error || new Error('IndexedDB refused the request'));
      if (e && e.preventDefault) e.preventDefault();
    };
  }
  IDBFS.storeRemoteEntry = function (store, path, entry, callback) {
    var req;
    try {
      req = store.put(entry, path);
    } catch (e) {
      callback(e);
      return;
    }
    settle(req, callback);
  };
  IDBFS.removeRemoteEntry = function (store, path, callback) {
    var req;
    try {
      req = store['delete'](path);
    } catch (e) {
      callback(e);
      return;
    }
    settle(req, callback);
  };
}

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  twReportIndexedDbErrors();
  // The page may choose SDL's renderer ("software" is the faster here).
  if (Module['twRenderer']) ENV['SDL_RENDER_DRIVER'] = Module['twRenderer'];
  // A finger on the picture is not a mouse button: the page's pad plays by touch.
  ENV['SDL_TOUCH_MOUSE_EVENTS'] = '0';
  FS.mkdir(TW_SAVE_DIR);
  FS.mount(IDBFS, {}, TW_SAVE_DIR);
  // The game reads its options and high scores at start-up, so it waits for
  // the folder to come back from IndexedDB.
  addRunDependency('tw-saves');
  twReadSaves(1, function () { removeRunDependency('tw-saves'); });
});

// A save asks for a copy to IndexedDB. One copy runs at a time; saves made
// meanwhile are covered by one more copy when it ends. A copy that fails
// leaves the files in memory as they are and is tried again later (and at
// the next save). `twSavesPending` is 1 while saved files have not all
// reached IndexedDB (tests wait for 0).
Module['twSavesPending'] = 0;
var twSync = { running: false, dirty: false, retryMs: 0, timer: 0 };

function twSyncNow() {
  twSync.running = true;
  twSync.dirty = false;
  FS.syncfs(false, function (err) {
    twSync.running = false;
    if (err) {
      twSync.dirty = true;
      Module['twSaveError'] = String(err);
      console.error('Saving to IndexedDB failed: ' + err);
      twSync.retryMs = Math.min(twSync.retryMs ? twSync.retryMs * 2 : TW_WRITE_RETRY_MS, TW_WRITE_RETRY_MAX_MS);
      twNotice('unwritten', 'Your last save has not been stored (' + err + '). It is kept here and tried ' +
               'again; closing the page now would lose it.');
      clearTimeout(twSync.timer);
      twSync.timer = setTimeout(twSyncNow, twSync.retryMs);
      return;
    }
    if (twSync.retryMs) {
      twSync.retryMs = 0;
      twNotice('unwritten', '');
    }
    if (twSync.dirty) {
      twSyncNow();
    } else {
      Module['twSavesPending'] = 0;
    }
  });
}

Module['twSyncSaves'] = function () {
  if (Module['twSavesState'] !== 'read') return;
  Module['twSavesPending'] = 1;
  if (twSync.running || twSync.retryMs) {
    // Covered by the copy running now (or the retry waiting).
    twSync.dirty = true;
    return;
  }
  twSyncNow();
};

// --- export and import of the player's files -----------------------------

var TW_EXPORT_FORMAT = 'tumblewell-saves';

function twListFiles(dir, prefix, out) {
  FS.readdir(dir).forEach(function (name) {
    if (name === '.' || name === '..' || name.indexOf('.tmp') >= 0) return;
    var path = dir + '/' + name;
    var mode = FS.stat(path).mode;
    if (FS.isDir(mode)) {
      twListFiles(path, prefix + name + '/', out);
    } else if (FS.isFile(mode)) {
      out.push(prefix + name);
    }
  });
  return out;
}

function twToBase64(bytes) {
  var text = '';
  for (var i = 0; i < bytes.length; i += 0x8000) {
    text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
  }
  return btoa(text);
}

// The player's files as one JSON text: {format, version, files: {path: base64}}.
Module['twExportSaves'] = function () {
  var files = {};
  twListFiles(TW_SAVE_DIR, '', []).forEach(function (name) {
    files[name] = twToBase64(FS.readFile(TW_SAVE_DIR + '/' + name));
  });
  return JSON.stringify({ format: TW_EXPORT_FORMAT, version: 1, files: files });
};

// Checks an exported text; returns {files} or {error} (in the player's words).
Module['twParseSaves'] = function (text) {
  var data;
  try {
    data = JSON.parse(text);
  } catch (e) {
    return { error: 'the file is not a saved-games file of this game' };
  }
  if (!data || data.format !== TW_EXPORT_FORMAT || typeof data.files !== 'object' || !data.files) {
    return { error: 'the file is not a saved-games file of this game' };
  }
  if (data.version !== 1) return { error: 'the file comes from a newer version of the game' };
  var files = {};
  var names = Object.keys(data.files);
  for (var i = 0; i < names.length; i++) {
    var name = names[i];
    var parts = name.split('/');
    if (!name || name[0] === '/' || parts.some(function (p) { return p === '' || p === '.' || p === '..'; })) {
      return { error: 'the file names a place outside the saved games ("' + name + '")' };
    }
    if (typeof data.files[name] !== 'string') return { error: 'the file is damaged ("' + name + '")' };
    try {
      var raw = atob(data.files[name]);
    } catch (e) {
      return { error: 'the file is damaged ("' + name + '")' };
    }
    var bytes = new Uint8Array(raw.length);
    for (var j = 0; j < raw.length; j++) bytes[j] = raw.charCodeAt(j);
    files[name] = bytes;
  }
  return { files: files };
};

function twRemoveTree(dir) {
  FS.readdir(dir).forEach(function (name) {
    if (name === '.' || name === '..') return;
    var path = dir + '/' + name;
    if (FS.isDir(FS.stat(path).mode)) {
      twRemoveTree(path);
      FS.rmdir(path);
    } else {
      FS.unlink(path);
    }
  });
}

// Replaces the player's files with checked ones and stores them; `done(err)`
// once IndexedDB holds exactly them. The game read its files at start-up,
// so the page reloads afterwards.
Module['twImportSaves'] = function (files, done) {
  if (Module['twSavesState'] !== 'read') {
    done('the saved games of this browser could not be read, so nothing is replaced; reload the page first');
    return;
  }
  twRemoveTree(TW_SAVE_DIR);
  Object.keys(files).forEach(function (name) {
    var parts = name.split('/');
    var dir = TW_SAVE_DIR;
    for (var i = 0; i < parts.length - 1; i++) {
      dir += '/' + parts[i];
      if (!FS.analyzePath(dir).exists) FS.mkdir(dir);
    }
    FS.writeFile(TW_SAVE_DIR + '/' + name, files[name]);
  });
  FS.syncfs(false, function (err) { done(err ? String(err) : null); });
};

// What the page shows its tests about the game (platform::PublishPageState).
Module['twSetState'] = function (screen, item, inGame, paused, gameOver, level, frame, score, x, y, fps, naming,
                                 name, held) {
  Module['gameState'] = {
    screen: screen, item: item, inGame: !!inGame, paused: !!paused, gameOver: !!gameOver, level: level,
    frame: frame, score: score, x: x, y: y, fps: fps, naming: !!naming, name: name, held: held,
    run: Module['twRunCode'] || ''
  };
  if (Module['twOnState']) Module['twOnState'](Module['gameState']);
};
