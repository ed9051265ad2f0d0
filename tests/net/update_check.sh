#!/usr/bin/env bash
# The update check against a local https server: makes two self-signed
# certificates for localhost (one the test trusts, one it does not), starts
# version_server.py, runs the test program under wine and stops the server.
#   update_check.sh TEST_EXE SOURCE_DIR
set -euo pipefail
exe=$1
root=$2
work=$(mktemp -d)
server=""
cleanup() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

for name in trusted other; do
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=localhost" \
    -addext "subjectAltName=DNS:localhost" -addext "basicConstraints=critical,CA:FALSE" \
    -keyout "$work/$name.key" -out "$work/$name.pem" 2>/dev/null
done
openssl x509 -in "$work/trusted.pem" -outform der -out "$work/trusted.der"

python3 "$root/tests/net/version_server.py" "$work/trusted.pem" "$work/trusted.key" \
  "$work/other.pem" "$work/other.key" "$work/ports" &
server=$!
for _ in $(seq 100); do
  [ -s "$work/ports" ] && break
  kill -0 "$server" 2>/dev/null || { echo "FAIL: the test server did not start"; exit 1; }
  sleep 0.1
done
[ -s "$work/ports" ] || { echo "FAIL: the test server did not listen"; exit 1; }
read -r port other_port < "$work/ports"

# A port nothing listens on: bound and let go again.
dead_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

# The program must not reach the local server through a proxy.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export KELVANE_TEST_HTTPS_PORT=$port KELVANE_TEST_UNTRUSTED_PORT=$other_port \
  KELVANE_TEST_DEAD_PORT=$dead_port KELVANE_TEST_ROOT_CERT="Z:${work//\//\\}\\trusted.der"
"$root/tools/wine-run" "$exe"
