"""Files kitchen jobs the way the order-taking POS terminals of a food court do."""

import datetime
import random

MENU = ["김치찌개", "된장찌개", "비빔밥", "불고기 덮밥", "떡볶이", "순대", "김밥", "라면",
        "짜장면", "짬뽕", "탕수육", "돈까스", "냉면", "제육볶음", "똠얌꿍"]
OPTIONS = ["  * 맵게", "  * 덜 맵게", "  * 포장", "└ 공기밥 추가", "└ 계란 추가"]
CORNERS = ["한식코너", "분식코너", "중식코너", "양식코너"]
DELIVERY_REMARKS = ["문 앞에 두고 벨 눌러 주세요", "수저는 빼 주세요", "경비실에 맡겨 주세요"]
ORDERERS = ["김철수", "이영희", "", "", ""]


class OrderSimulator:
    def __init__(self, store_code, pos_id, serial_port, network_printers, seed=None):
        self.store_code, self.pos_id = store_code, pos_id
        self.serial_port = serial_port
        self.network_printers = network_printers  # [(name, address, port)]
        self.random = random.Random(seed)
        self.order_number = 100

    def next_job(self):
        """One job row: an order sheet most of the time, now and then another kind."""
        kind = self.random.choices(["주문서", "주방메세지", "티켓", "영수증", "돈통열기"],
                                   weights=[6, 1, 1, 1, 1])[0]
        if kind == "돈통열기":
            return self._job(kind, "127.0.0.1", self.serial_port, "카운터", body="")
        name, address, port = self._printer()
        body = self._body(kind)
        return self._job(kind, address, port, name, body=body)

    def _printer(self):
        if self.random.random() < 0.5:
            return "주방 (시리얼)", "127.0.0.1", self.serial_port
        return self.random.choice(self.network_printers)

    def _body(self, kind):
        if kind == "주방메세지":
            return self.random.choice(["빨리 부탁드려요", "7번 테이블 물 부족"]) + "\r\n"
        if kind == "티켓":
            return f"식권 {self.random.randint(1, 3)}매\r\n"
        lines = []
        for _ in range(self.random.randint(1, 4)):
            lines.append(f"{self.random.choice(MENU)}  {self.random.randint(1, 3)}")
            if self.random.random() < 0.4:
                lines.append(self.random.choice(OPTIONS))
        return "\r\n".join(lines) + "\r\n"

    def _job(self, kind, address, port, printer_name, body):
        self.order_number += 1
        delivery = kind == "주문서" and self.random.random() < 0.2
        table = self.random.randint(1, 20)
        return {
            "매장코드": self.store_code, "IP주소": address, "POSID": self.pos_id,
            "프린터포트": port, "정리완료": "1", "출력물종류": kind, "테이블번호": table,
            "프린터파라미터": "9600,N,8,1",
            "주문번호": self.random.choice([0, self.order_number, self.order_number]),
            "진동벨번호": str(self.random.randint(1, 30)) if self.random.random() < 0.5 else "",
            "테이블명": f"배달{table}" if delivery else str(table),
            "코너명": (self.random.choice(DELIVERY_REMARKS) if delivery
                     else self.random.choice(CORNERS)),
            "결제여부": "미결" if self.random.random() < 0.3 else "완료",
            "미결금액": self.random.choice([8000, 12500, 23000]),
            "신규추가여부": self.random.choice(["신규", "추가"]),
            "주문자명": self.random.choice(ORDERERS), "프린트내용": body,
            "주문일시": datetime.datetime.now().strftime("%Y-%m-%d %H:%M:%S"),
            "프린터명": printer_name,
        }
