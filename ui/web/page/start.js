// Starts the program from the WebAssembly built into this page: compiled at once where
// the browser allows it, so that the calculation window is there at the first paint.
(function () {
  if (typeof WebAssembly !== 'object') {
    var notice = document.body.appendChild(document.createElement('p'));
    notice.className = 'notice';
    notice.textContent = 'このブラウザーでは dosat を使えません（WebAssembly が使えません）。' +
                         '新しい版のブラウザーで開いてください。';
    return;
  }
  var wasm = '@WASM@';
  var bytes;
  if (Uint8Array.fromBase64) {
    bytes = Uint8Array.fromBase64(wasm);
  } else {
    var text = atob(wasm);
    bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
  }
  dosat({
    instantiateWasm: function (imports, ready) {
      try {
        var instance = new WebAssembly.Instance(new WebAssembly.Module(bytes), imports);
        ready(instance);
        return instance.exports;
      } catch (e) {
        WebAssembly.instantiate(bytes, imports).then(function (result) { ready(result.instance); });
        return {};
      }
    },
  });
})();

// Served from a web server, the same page is an installable web app that opens offline:
// its manifest and service worker lie beside it. Opened as a file it asks for nothing.
if (window.isSecureContext && /^https?:$/.test(location.protocol) && 'serviceWorker' in navigator) {
  var manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.appendChild(manifest);
  navigator.serviceWorker.register('sw.js');
}
