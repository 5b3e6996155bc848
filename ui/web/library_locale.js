// The number characters of the browser's language.
mergeInto(LibraryManager.library, {
  $dosatLocale: {
    parts: null,  // of a number formatted in the browser's language, until it changes
  },

  // The decimal separator (group 0) or the group separator (group 1) as a code point, as
  // Intl.NumberFormat writes numbers in navigator.language; 0 where it cannot.
  dosat_locale_separator__deps: ['$dosatLocale'],
  dosat_locale_separator: function(group) {
    if (!dosatLocale.parts) {
      try {
        dosatLocale.parts = new Intl.NumberFormat(navigator.language).formatToParts(1234567.5);
      } catch (e) {
        dosatLocale.parts = [];
      }
      addEventListener('languagechange', function() { dosatLocale.parts = null; }, {once: true});
    }
    var part = dosatLocale.parts.find(function(p) { return p.type === (group ? 'group' : 'decimal'); });
    return part ? part.value.codePointAt(0) : 0;
  },
});
