// New versions of the page: the service worker (sw.js) installs a new version
// in the background and waits; the page then says so above the settings, and
// its "recharger" button lets the new version take over and reloads. Nothing
// is lost by that reload: settings and documents are stored as they change.
const NOTICE = 'Une nouvelle version est prête : ';
// Set while a reload at start is under way, so that a worker that never takes
// over cannot reload the page again and again.
const RELOADED_KEY = 'UpdateReloaded';

export function WatchForUpdates() {
  const workers = navigator.serviceWorker;
  if (!workers) return;
  // Created empty (and hidden) so that screen readers announce its text when it comes.
  const notice = document.createElement('p');
  notice.id = 'updateNotice';
  notice.setAttribute('role', 'status');
  // Above the teacher's window, or above the pupil's sheet.
  document.querySelector('main:not([hidden])').prepend(notice);

  let registration = null;
  let asked = false;
  let controller = workers.controller;
  const TakeOver = (waiting) => {
    asked = true;
    waiting.postMessage('take-over');
  };
  const ShowNotice = () => {
    if (notice.firstChild) return;
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = 'recharger';
    button.addEventListener('click', () => {
      if (registration?.waiting) TakeOver(registration.waiting);
      else location.reload();
    });
    notice.append(NOTICE, button);
  };

  // The new version serves from now on: this page reloads if it asked for it;
  // another open tab only says so, since its teacher may be typing. The first
  // worker of a first visit changes nothing the teacher sees.
  workers.addEventListener('controllerchange', () => {
    if (asked) {
      asked = false;
      location.reload();
    } else if (controller) {
      ShowNotice();
    }
    controller = workers.controller;
  });

  // A new version installed while a version serves this page waits for the teacher.
  const Follow = (installing) => installing?.addEventListener('statechange', () => {
    if (installing.state === 'installed' && workers.controller) ShowNotice();
  });

  workers.register('sw.js', { updateViaCache: 'none' }).then((found) => {
    registration = found;
    // A version fetched during an earlier visit takes over now, before the
    // teacher has typed anything: one reload at start, once (without a
    // session storage to say so, the notice instead).
    if (registration.waiting && workers.controller) {
      if (FirstReloadAtStart()) TakeOver(registration.waiting);
      else ShowNotice();
    } else {
      ForgetReloadAtStart();
    }
    Follow(registration.installing);
    registration.addEventListener('updatefound', () => Follow(registration.installing));
    // A tab can stay open for days: look for a new version when it is seen again.
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'visible') registration.update().catch(() => {});
    });
  }, () => {});
}

function FirstReloadAtStart() {
  try {
    if (sessionStorage.getItem(RELOADED_KEY)) return false;
    sessionStorage.setItem(RELOADED_KEY, '1');
    return true;
  } catch {
    return false;
  }
}

function ForgetReloadAtStart() {
  try {
    sessionStorage.removeItem(RELOADED_KEY);
  } catch {
    // Nothing was stored then.
  }
}
