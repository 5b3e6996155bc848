// The number characters of the browser's language.
mergeInto(LibraryManager.library, {
  // The decimal separator (group 0) or the group separator (group 1) as a code point, as
  // Intl.NumberFormat writes numbers in navigator.language; '.' and ',' where it cannot.
  dosat_locale_separator: function(group) {
    var parts;
    try {
      parts = new Intl.NumberFormat(navigator.language).formatToParts(1234567.5);
    } catch (e) {
      parts = [];
    }
    var part = parts.find(function(p) { return p.type === (group ? 'group' : 'decimal'); });
    return part ? part.value.codePointAt(0) : (group ? 0x2C : 0x2E);
  },
});
