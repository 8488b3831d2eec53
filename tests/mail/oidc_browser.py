#!/usr/bin/python3
"""A scripted browser for the test OpenID provider's sign-in pages.

  oidc_browser.py URL             as $BROWSER: opens URL, signs in as $BVANE_TEST_LOGIN (alice),
                                  consents (or, with BVANE_TEST_CONSENT=no, cancels) and follows
                                  the last redirect to the program's loopback address.
  oidc_browser.py --tokens ISSUER LOGIN
                                  signs in with PKCE for the native client "bvane" and prints the
                                  token endpoint's answer (JSON) on standard output.
"""
import base64
import hashlib
import html
import http.cookiejar
import json
import os
import re
import secrets
import sys
import urllib.error
import urllib.parse
import urllib.request


class NoRedirect(urllib.request.HTTPRedirectHandler):
    def redirect_request(self, *args, **kwargs):
        return None


def opener():
    jar = http.cookiejar.CookieJar()
    return urllib.request.build_opener(urllib.request.HTTPCookieProcessor(jar), NoRedirect())


def fetch(browser, url, form=None):
    data = urllib.parse.urlencode(form).encode() if form is not None else None
    try:
        with browser.open(url, data, timeout=30) as reply:
            return reply.status, reply.headers, reply.read().decode()
    except urllib.error.HTTPError as reply:
        return reply.code, reply.headers, reply.read().decode(errors="replace")


def walk(browser, url, login, consent):
    """Follows the provider's pages from url; returns the first address outside it."""
    origin = urllib.parse.urlsplit(url)[:2]
    form = None
    for _ in range(20):
        status, headers, body = fetch(browser, url, form)
        form = None
        if status in (301, 302, 303, 307, 308):
            url = urllib.parse.urljoin(url, headers["Location"])
            if urllib.parse.urlsplit(url)[:2] != origin:
                return url
            continue
        if status != 200:
            raise SystemExit(f"oidc_browser: {url} answered {status}: {body[:300]}")
        action = re.search(r'<form[^>]*action="([^"]+)"', body)
        if not action:
            raise SystemExit(f"oidc_browser: no form at {url}: {body[:300]}")
        target = urllib.parse.urljoin(url, html.unescape(action.group(1)))
        if 'name="login"' in body:
            url, form = target, {"prompt": "login", "login": login, "password": "secret"}
        elif consent:
            url, form = target, {"prompt": "consent"}
        else:
            abort = re.search(r'href="([^"]*/abort)"', body)
            url = urllib.parse.urljoin(url, html.unescape(abort.group(1)))
    raise SystemExit("oidc_browser: too many pages")


def tokens(issuer, login):
    browser = opener()
    verifier = secrets.token_urlsafe(48)
    challenge = base64.urlsafe_b64encode(hashlib.sha256(verifier.encode()).digest()).rstrip(b"=")
    redirect = "http://127.0.0.1:9/"
    query = urllib.parse.urlencode({
        "client_id": "bvane", "response_type": "code", "redirect_uri": redirect,
        "scope": "openid offline_access mail", "prompt": "consent",
        "code_challenge": challenge.decode(), "code_challenge_method": "S256",
        "state": secrets.token_urlsafe(8)})
    landed = walk(browser, f"{issuer}/auth?{query}", login, True)
    code = urllib.parse.parse_qs(urllib.parse.urlsplit(landed).query)["code"][0]
    status, _, body = fetch(browser, f"{issuer}/token", {
        "grant_type": "authorization_code", "code": code, "redirect_uri": redirect,
        "client_id": "bvane", "code_verifier": verifier})
    if status != 200:
        raise SystemExit(f"oidc_browser: token endpoint answered {status}: {body}")
    print(json.dumps(json.loads(body)))


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--tokens":
        tokens(sys.argv[2].rstrip("/"), sys.argv[3])
        return
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    landed = walk(opener(), sys.argv[1], os.environ.get("BVANE_TEST_LOGIN", "alice"),
                  os.environ.get("BVANE_TEST_CONSENT", "yes") != "no")
    # The program's own page at its loopback address, as the browser would show it.
    status, _, body = fetch(opener(), landed)
    print(status, re.sub(r"<[^>]+>", " ", body).strip()[:200])


if __name__ == "__main__":
    main()
