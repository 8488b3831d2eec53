// An OpenID provider on 127.0.0.1 for the mail tests: node provider.mjs PORT.
// Clients: "bvane" (a native app: public, PKCE, any loopback port) and "dovecot" (the mail
// server checking tokens by introspection). The development login form takes any name and
// password; the sign-in asks prompt=consent for offline_access (a refresh token). Beside the standard endpoints:
//   GET  /tokeninfo?access_token=T   what Dovecot's tokeninfo_url reads (404 when not active)
//   POST /expire  (form: access_token)  ends an access token early, as if it had expired
//   POST /revoke-grants (form: account)  revokes every grant of an account (refresh tokens too)
import Provider from 'oidc-provider';
import { createServer } from 'node:http';

const port = Number(process.argv[2]);
const issuer = `http://127.0.0.1:${port}`;

const provider = new Provider(issuer, {
  clients: [
    {
      client_id: 'bvane',
      application_type: 'native',
      token_endpoint_auth_method: 'none',
      redirect_uris: ['http://127.0.0.1/'],
      grant_types: ['authorization_code', 'refresh_token'],
      response_types: ['code'],
    },
    {
      client_id: 'dovecot',
      client_secret: 'dovecot-secret',
      redirect_uris: [],
      grant_types: [],
      response_types: [],
    },
  ],
  scopes: ['openid', 'offline_access', 'email', 'mail'],
  claims: { openid: ['sub'], email: ['email'] },
  features: {
    devInteractions: { enabled: true },
    introspection: { enabled: true },
    revocation: { enabled: true },
  },
  findAccount: async (_ctx, id) => ({
    accountId: id,
    claims: async () => ({ sub: id, email: `${id}@example.test` }),
  }),
  ttl: { AccessToken: 3600, AuthorizationCode: 120, RefreshToken: 86400, Grant: 86400, Session: 86400, Interaction: 600 },
  cookies: { keys: ['bvane-test-cookie-key'] },
});

function readForm(req) {
  return new Promise((resolve) => {
    let data = '';
    req.on('data', (chunk) => { data += chunk; });
    req.on('end', () => resolve(new URLSearchParams(data)));
  });
}

function json(res, status, body) {
  res.writeHead(status, { 'content-type': 'application/json' });
  res.end(JSON.stringify(body));
}

const callback = provider.callback();
const server = createServer(async (req, res) => {
  const url = new URL(req.url, issuer);
  try {
    if (req.method === 'GET' && url.pathname === '/tokeninfo') {
      const token = await provider.AccessToken.find(url.searchParams.get('access_token') ?? '');
      if (!token || token.isExpired) {
        json(res, 401, { error: 'invalid_token' });
        return;
      }
      json(res, 200, { sub: token.accountId, active: true, scope: token.scope, exp: token.exp });
      return;
    }
    if (req.method === 'POST' && url.pathname === '/expire') {
      const form = await readForm(req);
      const token = await provider.AccessToken.find(form.get('access_token') ?? '');
      if (token)
        await token.destroy();
      json(res, 200, { expired: Boolean(token) });
      return;
    }
    if (req.method === 'POST' && url.pathname === '/revoke-grants') {
      const form = await readForm(req);
      const ids = [...grants.entries()].filter(([, a]) => a === form.get('account')).map(([g]) => g);
      for (const id of ids) {
        await provider.Grant.adapter.destroy(id);
        await provider.RefreshToken.adapter.revokeByGrantId(id);
        await provider.AccessToken.adapter.revokeByGrantId(id);
      }
      json(res, 200, { revoked: ids.length });
      return;
    }
  } catch (error) {
    json(res, 500, { error: String(error) });
    return;
  }
  callback(req, res);
});

const grants = new Map();
provider.on('grant.saved', (grant) => grants.set(grant.jti, grant.accountId));
provider.on('server_error', (_ctx, error) => console.error(error));

server.keepAliveTimeout = 60000;
server.listen(port, '127.0.0.1', () => console.log(`ready ${issuer}`));
