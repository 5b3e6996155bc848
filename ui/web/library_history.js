// The browser's Back and Forward between the panels: an entry of the session history for
// each window shown in turn, named by the window's class.
mergeInto(LibraryManager.library, {
  dosat_history_replace: function(name, length) {
    history.replaceState({window: UTF8ToString(name, length)}, '');
  },
  dosat_history_push: function(name, length) {
    history.pushState({window: UTF8ToString(name, length)}, '');
  },
  dosat_history_back: function() { history.back(); },

  // The program hears of each move through the history with the handle of the window its
  // entry names (-1 for an entry that names none of them).
  dosat_history_listen__deps: ['$dosatPage'],
  dosat_history_listen: function() {
    window.addEventListener('popstate', function(event) {
      var name = event.state && event.state.window;
      var found = dosatPage.windows.findIndex(function(w) { return w && w.panel.id === name; });
      _dosat_web_history_moved(found);
    });
  },
});
