# A throwaway MariaDB server for tests and the demo, in a folder of its own:
# a private socket, a free loopback port, lower_case_table_names=1, and a
# user with a password. Source this file, then
#   mariadb_start DIR     start the server with its files under DIR
#   mariadb_client ARGS   the mariadb client as the server's root
#   mariadb_stop          stop the server by its pid (idempotent)
# Like a production server it runs with single-byte texts: latin1, whatever
# character set a client asks for, so the program's bytes are stored and
# compared as they are.
# mariadb_start exports ZARNIK_TEST_SOCKET, ZARNIK_TEST_PORT,
# ZARNIK_TEST_USER, ZARNIK_TEST_PASSWORD and, for the client library's
# defaults, MYSQL_UNIX_PORT and MYSQL_TCP_PORT.

ZARNIK_DB_USER=zarnik
# The password holds an apostrophe and a backslash on purpose.
ZARNIK_DB_PASSWORD="Kst'Wechsel\\2026"

_mariadb_free_port() {
  local port
  for _ in $(seq 1 200); do
    port=$(( (RANDOM % 30000) + 20000 ))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return 0
    fi
  done
  return 1
}

mariadb_client() {
  mariadb --no-defaults --socket="$ZARNIK_TEST_SOCKET" --user=root "$@"
}

mariadb_start() {
  local dir=$1
  MARIADB_DIR=$dir
  mkdir -p "$dir/data"
  local port
  port=$(_mariadb_free_port) || { echo "no free loopback port" >&2; return 1; }
  mariadb-install-db --no-defaults --datadir="$dir/data" --user="$(id -un)" \
    --auth-root-authentication-method=normal --skip-test-db >"$dir/install.log" 2>&1 || {
    cat "$dir/install.log" >&2
    return 1
  }
  mariadbd --no-defaults --datadir="$dir/data" --user="$(id -un)" \
    --socket="$dir/mariadb.sock" --port="$port" --bind-address=127.0.0.1 \
    --pid-file="$dir/mariadb.pid" --log-error="$dir/error.log" \
    --lower_case_table_names=1 --innodb_lock_wait_timeout=2 \
    --innodb_buffer_pool_size=64M --innodb_log_file_size=16M --skip-name-resolve \
    --character-set-server=latin1 --skip-character-set-client-handshake \
    >/dev/null 2>&1 &
  MARIADB_PID=$!
  export ZARNIK_TEST_SOCKET=$dir/mariadb.sock ZARNIK_TEST_PORT=$port
  export ZARNIK_TEST_USER=$ZARNIK_DB_USER ZARNIK_TEST_PASSWORD=$ZARNIK_DB_PASSWORD
  export MYSQL_UNIX_PORT=$ZARNIK_TEST_SOCKET MYSQL_TCP_PORT=$port
  local i
  for i in $(seq 1 120); do
    if mariadb_client -e 'SELECT 1' >/dev/null 2>&1; then break; fi
    if ! kill -0 "$MARIADB_PID" 2>/dev/null; then
      echo "mariadbd did not start:" >&2
      cat "$dir/error.log" >&2
      return 1
    fi
    sleep 0.25
  done
  local quoted=${ZARNIK_DB_PASSWORD//\\/\\\\}
  quoted=${quoted//\'/\\\'}
  mariadb_client <<SQL || return 1
CREATE USER '$ZARNIK_DB_USER'@'localhost' IDENTIFIED BY '$quoted';
CREATE USER '$ZARNIK_DB_USER'@'127.0.0.1' IDENTIFIED BY '$quoted';
GRANT ALL ON *.* TO '$ZARNIK_DB_USER'@'localhost';
GRANT ALL ON *.* TO '$ZARNIK_DB_USER'@'127.0.0.1';
SQL
}

mariadb_stop() {
  [ -n "${MARIADB_PID:-}" ] || return 0
  if kill -0 "$MARIADB_PID" 2>/dev/null; then
    kill "$MARIADB_PID" 2>/dev/null
    local i
    for i in $(seq 1 120); do
      kill -0 "$MARIADB_PID" 2>/dev/null || break
      sleep 0.25
    done
    kill -9 "$MARIADB_PID" 2>/dev/null || true
  fi
  wait "$MARIADB_PID" 2>/dev/null || true
  MARIADB_PID=
}
